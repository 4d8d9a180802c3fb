// SPDX-License-Identifier: GPL-3.0-or-later
#include "FuzzTarget.h"

#include "LevelFile.h"
#include "MapEditor.h"
#include "MessageBox.h"
#include "ProgramDir.h"
#include "TileCodes.h"
#include "Twips.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>

// The editor's check on any map text, however it got into the map box: set
// whole, loaded from any bytes as a level file, or typed key by key with the
// palette in between. After each change the line report and the preview must
// match the map box exactly. A fourth way saves under any name, which must
// land as a level file in the program's directory and nowhere else.
//
// The first byte picks the way; the rest is the text, the file, the keys, or
// the name and the map separated by a zero byte.

namespace {

// Kept for the whole run: libFuzzer never returns to tear them down.
QApplication *application = nullptr;
QTemporaryDir *scratch = nullptr;

void checkReport(const MapEditor &editor)
{
    QStringList rows = editor.Text1->toPlainText().split(u'\n');
    if (rows.last().isEmpty())
        rows.removeLast();
    fuzz::expect(editor.List1() == rows, "the row buffer holds the lines of the map box");
    fuzz::expect(editor.List2->count() == rows.size(), "the line report has one item per row");

    std::size_t cell = 0;
    for (qsizetype y = 0; y < rows.size(); ++y) {
        const qsizetype tiles = TileCodes::cutRow(rows.at(y)).size();
        const QString report = QStringLiteral("Line%1: %2 tile").arg(y + 1).arg(tiles);
        fuzz::expect(editor.List2->item(int(y))->text().startsWith(report), "a report line counts the row's tiles");
        int x = 0;
        for (const QString &code : TileCodes::cutRow(rows.at(y))) {
            fuzz::expect(cell < editor.Image1().size(), "every code has a preview cell");
            const ImageElement &image = editor.Image1().at(cell++);
            fuzz::expect(image.visible && image.tag == code, "a preview cell shows its code");
            fuzz::expect(image.left == Twips::Cell * x && image.top == Twips::Cell * int(y),
                         "a preview cell lies where the play screen puts the tile");
            ++x;
        }
    }
    fuzz::expect(editor.Image1().size() == cell + 1, "exactly one spare cell follows the drawn ones");
    fuzz::expect(!editor.Image1().back().visible, "the spare cell is hidden");
}

void typeKeys(MapEditor &editor, const QByteArray &keys)
{
    for (const char key : keys) {
        const auto byte = std::uint8_t(key);
        if (byte >= 0xF0) {
            // The palette: eighteen tiles, and a little past them.
            editor.Image2_Click(TileCodes::all().value(byte - 0xF0, 89));
        } else {
            const QString text = byte == '\r' || byte == '\n' ? QStringLiteral("\r") : QString(QChar(byte));
            const int code = byte == '\r' || byte == '\n' ? int(Qt::Key_Return)
                             : byte == 0x08                 ? int(Qt::Key_Backspace)
                             : byte == 0x7F                 ? int(Qt::Key_Delete)
                                                            : int(QChar(byte).toUpper().unicode());
            QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
            QCoreApplication::sendEvent(editor.Text1, &press);
        }
        checkReport(editor);
    }
}

void checkStartBoxes(const MapEditor &editor)
{
    fuzz::expect(editor.VScroll1->value() >= 1 && editor.VScroll1->value() <= 16, "the Top spinner stays in range");
    fuzz::expect(editor.VScroll2->value() >= 1 && editor.VScroll2->value() <= 16, "the Left spinner stays in range");
    fuzz::expect(editor.swatchColor() <= 0xFFFFFF, "the swatch holds a colour value");
}

void saveUnderName(MapEditor &editor, const QByteArray &input)
{
    const qsizetype split = input.indexOf('\0');
    editor.Text4->setText(QString::fromLatin1(split < 0 ? input : input.left(split)));
    editor.Text1->setPlainText(split < 0 ? QString() : QString::fromLatin1(input.mid(split + 1)));
    editor.Command3_Click();

    // Whatever the name, nothing but level files appears, and only in the
    // program's directory.
    const QDir outside(scratch->path());
    fuzz::expect(outside.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)
                     == QStringList({QStringLiteral("game"), QStringLiteral("input")}),
                 "a save writes nothing beside the program's directory");
    const QDir inside(ProgramDir::path());
    const QStringList saved = inside.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QString &name : saved) {
        fuzz::expect(name.endsWith(QStringLiteral(".lvl")) && QFileInfo(inside.filePath(name)).isFile(),
                     "a save writes a level file");
        QFile::remove(inside.filePath(name));
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
    application = new QApplication(*argc, *argv);
    scratch = new QTemporaryDir;
    std::atexit([] { delete scratch; });
    QDir(scratch->path()).mkdir(QStringLiteral("game"));
    QDir(scratch->path()).mkdir(QStringLiteral("input"));
    ProgramDir::setPath(scratch->filePath(QStringLiteral("game")));
    MessageBox::setResponder([](const MessageBox::Request &request) {
        return request.buttons == MessageBox::Buttons::Ok ? MessageBox::Answer::Ok : MessageBox::Answer::Yes;
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray input = fuzz::bytes(data + 1, size - 1);

    // A fresh editor for each input, as the main menu opens it.
    MapEditor editor;
    editor.Form_Load();
    checkReport(editor);

    switch (data[0] % 4) {
    case 0:
        editor.Text1->setPlainText(QString::fromLatin1(input));
        checkReport(editor);
        break;
    case 1: {
        const QString path = scratch->filePath(QStringLiteral("input/fuzz.lvl"));
        QFile file(path);
        fuzz::expect(file.open(QIODevice::WriteOnly) && file.write(input) == input.size(),
                     "the scratch level file is written");
        file.close();
        const std::optional<QStringList> lines = LevelFile::read(path);
        fuzz::expect(lines.has_value(), "a readable file reads");
        editor.loadFromFile(*lines);
        checkReport(editor);
        checkStartBoxes(editor);
        break;
    }
    case 2:
        typeKeys(editor, input);
        break;
    default:
        saveUnderName(editor, input);
        break;
    }
    return 0;
}
