// SPDX-License-Identifier: GPL-3.0-or-later
#include "FuzzTarget.h"

#include "Forms.h"
#include "Game_Screen.h"
#include "LevelFile.h"
#include "LevelRecord.h"
#include "MessageBox.h"
#include "ProgramDir.h"
#include "TileCodes.h"
#include "Twips.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QTemporaryDir>

// A level file from any bytes, taken the way the load-level screen takes it,
// built in the play screen's custom slot and played with a few keys and
// ticks. The input is the file up to its first zero byte; each byte after it
// is one event. After every event the play screen must still make sense:
// the screen cash counts what is left, the score never falls, the figure
// stands on floor or on its start, and the lives stay between 0 and 3.

namespace {

// Kept for the whole run: libFuzzer never returns to tear them down.
QApplication *application = nullptr;
QTemporaryDir *scratch = nullptr;
Forms *forms = nullptr;

struct Rules
{
    QPointer<Game_Screen> screen;
    int startLeft = 0;
    int startTop = 0;
    double score = 0;

    void check() const
    {
        const auto number = [](const QLabel *label) { return label->text().toDouble(); };
        int collectibles = 0;
        for (const ImageElement &tile : screen->Image1()) {
            if (tile.tag == u"3" || tile.tag == u"7")
                ++collectibles;
        }
        fuzz::expect(number(screen->Cash) == collectibles, "the screen cash counts the banknotes and diamonds left");
        fuzz::expect(number(screen->Label4) >= score, "the score never falls");
        const double lives = number(screen->Lives_Number);
        fuzz::expect(lives >= 0 && lives <= 3, "the extra lives stay between 0 and 3");
        fuzz::expect(screen->Label2->text() == u"File", "a level from a file keeps its level label");

        const ImageElement &figure = screen->Image3();
        if (figure.left == startLeft && figure.top == startTop)
            return;
        for (const ImageElement &tile : screen->Image1()) {
            if (tile.left == figure.left && tile.top == figure.top) {
                fuzz::expect(tile.tag == u"0", "the figure stands on floor");
                return;
            }
        }
        fuzz::expect(false, "the figure stands on a cell of the map");
    }
};

void checkLayout(const Game_Screen &screen, const LevelRecord &level)
{
    std::size_t index = 0;
    int row = 0;
    for (const QString &text : level.rows) {
        int column = 0;
        for (const QString &code : TileCodes::cutRow(text)) {
            fuzz::expect(index < screen.Image1().size(), "every code has its tile image");
            const ImageElement &tile = screen.Image1().at(index++);
            fuzz::expect(tile.tag == code, "a tile keeps the code cut from its row");
            fuzz::expect(tile.left == Twips::Cell * column && tile.top == Twips::Cell * row,
                         "a tile lies at its column and row");
            ++column;
        }
        ++row;
    }
    fuzz::expect(screen.Image1().size() == std::max<std::size_t>(index, 1), "no tile image is left over");
}

void sendKey(Game_Screen *screen, std::uint8_t byte)
{
    static const int keys[] = {Qt::Key_Left, Qt::Key_Up,     Qt::Key_Right, Qt::Key_Down,
                               Qt::Key_A,    Qt::Key_Return, Qt::Key_Space, Qt::Key_F5};
    const Qt::KeyboardModifiers modifiers = byte & 0x80 ? Qt::ShiftModifier : Qt::NoModifier;
    QKeyEvent press(QEvent::KeyPress, keys[(byte >> 3) % 8], modifiers);
    QCoreApplication::sendEvent(screen, &press);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
    application = new QApplication(*argc, *argv);
    scratch = new QTemporaryDir;
    std::atexit([] { delete scratch; });
    ProgramDir::setPath(scratch->path());
    MessageBox::setResponder([](const MessageBox::Request &) { return MessageBox::Answer::Ok; });
    forms = new Forms;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input = fuzz::bytes(data, size);
    const qsizetype split = input.indexOf('\0');
    const QByteArray fileBytes = split < 0 ? input : input.left(split);
    const QByteArray events = split < 0 ? QByteArray() : input.mid(split + 1);

    const QString path = scratch->filePath(QStringLiteral("fuzz.lvl"));
    {
        QFile file(path);
        fuzz::expect(file.open(QIODevice::WriteOnly) && file.write(fileBytes) == fileBytes.size(),
                     "the scratch level file is written");
    }
    const std::optional<QStringList> lines = LevelFile::read(path);
    fuzz::expect(lines.has_value(), "a readable file reads");
    // The load-level screen refuses what it cannot build; so does this.
    if (!LevelRecord::playProblem(*lines).isEmpty())
        return 0;
    const LevelRecord level = LevelRecord::fromFileLines(*lines);

    // One play screen serves input after input, as long as none closes it;
    // each input starts a new game on it, as a game over does.
    Rules rules;
    rules.screen = forms->get<Game_Screen>();
    rules.screen->setCustomLevel(level);
    rules.screen->Label2->setText(QStringLiteral("File"));
    rules.screen->Label4->setText(QStringLiteral("0"));
    rules.screen->Lives_Number->setText(QStringLiteral("3"));
    for (QLabel *icon : rules.screen->Lives)
        icon->show();
    rules.screen->loadscreen(LevelTable::CustomSlot);
    checkLayout(*rules.screen, level);
    rules.startLeft = level.locationX.trimmed().toInt();
    rules.startTop = level.locationY.trimmed().toInt();
    rules.score = rules.screen->Label4->text().toDouble();
    rules.check();

    for (const char event : events) {
        const auto byte = std::uint8_t(event);
        switch (byte % 8) {
        case 0:
        case 1:
        case 2:
        case 3:
            rules.screen->Form_KeyDown(37 + byte % 4, byte & 0x80 ? 1 : 0);
            break;
        case 4:
            rules.screen->Timer1_Timer();
            break;
        case 5:
            rules.screen->Form_KeyDown(byte, 0);
            break;
        default:
            sendKey(rules.screen, byte);
            break;
        }
        // The exit of a level from a file, or its last time-over, closes the
        // play screen; nothing more acts on it then.
        if (!rules.screen || rules.screen->isUnloaded())
            break;
        rules.check();
        rules.score = rules.screen->Label4->text().toDouble();
    }

    if (rules.screen && !rules.screen->isUnloaded())
        rules.screen->grab();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
