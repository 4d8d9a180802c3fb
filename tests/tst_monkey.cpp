// SPDX-License-Identifier: GPL-3.0-or-later
#include "About.h"
#include "Form.h"
#include "Forms.h"
#include "Game_Screen.h"
#include "LevelTable.h"
#include "Load_Files.h"
#include "MapEditor.h"
#include "Menu.h"
#include "MessageBox.h"
#include "ProgressFile.h"
#include "ScratchDir.h"
#include "TileCodes.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTest>
#include <QTimer>

#include <deque>
#include <sys/stat.h>

namespace {

constexpr std::array<FormId, 7> AllForms{FormId::MainMenu,   FormId::PlayGame,  FormId::StartLevel, FormId::About,
                                         FormId::GameScreen, FormId::LoadFiles, FormId::MapEditor};

const char *formName(FormId id)
{
    switch (id) {
    case FormId::MainMenu:
        return "Main_Menu";
    case FormId::PlayGame:
        return "Play_Game";
    case FormId::StartLevel:
        return "Start_Level";
    case FormId::About:
        return "About";
    case FormId::GameScreen:
        return "Game_Screen";
    case FormId::LoadFiles:
        return "Load_Files";
    case FormId::MapEditor:
        return "MapEditor";
    }
    return "?";
}

// The keys a player can hit, the arrows given more weight since they drive
// both the play screen and the menus.
const std::vector<int> Keys{
    Qt::Key_Left,  Qt::Key_Up,     Qt::Key_Right,  Qt::Key_Down, Qt::Key_Left,   Qt::Key_Up,   Qt::Key_Right,
    Qt::Key_Down,  Qt::Key_Return, Qt::Key_Enter,  Qt::Key_Space, Qt::Key_Escape, Qt::Key_Tab, Qt::Key_Backspace,
    Qt::Key_Delete, Qt::Key_Plus,  Qt::Key_0,      Qt::Key_1,    Qt::Key_3,      Qt::Key_4,    Qt::Key_7,
    Qt::Key_8,     Qt::Key_9,      Qt::Key_A,      Qt::Key_Z,    Qt::Key_F1,     Qt::Key_Home, Qt::Key_End,
    Qt::Key_PageUp, Qt::Key_V,     Qt::Key_Insert, Qt::Key_Shift, Qt::Key_Control};

// A player at the keyboard and mouse who never stops and never reads: random
// events on whatever the game shows, thousands of them, with the game's
// rules checked after each one.
class Monkey
{
public:
    Monkey(quint32 seed, const QString &oddFiles)
        : m_random(seed)
        , m_oddFiles(QDir(oddFiles).entryInfoList(QDir::Files, QDir::Name))
    {
        MessageBox::setResponder([this](const MessageBox::Request &request) { return answer(request); });
        startGame();
    }

    ~Monkey()
    {
        MessageBox::setResponder({});
        m_forms.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // One random event; returns what it did, for the record of the run.
    QString step();
    // The rules that must hold between any two events; an empty string when
    // they all do, or the broken one.
    QString brokenRule();

    const std::map<FormId, int> &shownCount() const { return m_shown; }

private:
    void startGame();
    MessageBox::Answer answer(const MessageBox::Request &request);

    Form *visibleForm(FormId id) const;
    std::vector<Form *> visibleForms() const;
    Game_Screen *playScreen() const;
    // One of them at random, or an empty value when there is none.
    template<class T>
    T pick(const std::vector<T> &from)
    {
        return from.empty() ? T{} : from.at(std::size_t(m_random.bounded(int(from.size()))));
    }

    QString pressKey();
    QString playArrow();
    QString tick();
    QString clickSomewhere(bool twice);
    QString pointAtMenuItem();
    QString chooseLevelFile();
    QString closeWindow();
    QString runCredits();
    QString changeFiles();
    QString copySomething();

    // Sends an event to a widget of the game; while the play screen may be
    // reached, the closer above stands by.
    void deliver(const std::function<void()> &send);

    QRandomGenerator m_random;
    QFileInfoList m_oddFiles;
    ScratchDir m_dir;
    std::unique_ptr<Forms> m_forms;
    bool m_ended = false;

    QPointer<Game_Screen> m_scoredScreen;
    double m_score = 0;
    QStringList m_badMessages;
    std::map<FormId, int> m_shown;
};

void Monkey::startGame()
{
    m_forms = std::make_unique<Forms>();
    m_ended = false;
    QObject::connect(m_forms.get(), &Forms::ended, [this] { m_ended = true; });
    m_forms->start();
}

MessageBox::Answer Monkey::answer(const MessageBox::Request &request)
{
    static const QStringList titles{QStringLiteral("Veltrano"), QStringLiteral("Error"), QStringLiteral("SAVE")};
    if (request.text.isEmpty() || !titles.contains(request.title))
        m_badMessages.append(request.title + QStringLiteral(": ") + request.text);
    if (request.buttons == MessageBox::Buttons::Ok)
        return MessageBox::Answer::Ok;
    return m_random.bounded(2) ? MessageBox::Answer::Yes : MessageBox::Answer::No;
}

Form *Monkey::visibleForm(FormId id) const
{
    Form *form = m_forms->loaded(id);
    return form && form->isVisible() && !form->isUnloaded() ? form : nullptr;
}

std::vector<Form *> Monkey::visibleForms() const
{
    std::vector<Form *> forms;
    for (const FormId id : AllForms) {
        if (Form *form = visibleForm(id))
            forms.push_back(form);
    }
    return forms;
}

Game_Screen *Monkey::playScreen() const
{
    auto *screen = qobject_cast<Game_Screen *>(m_forms->loaded(FormId::GameScreen));
    return screen && !screen->isUnloaded() ? screen : nullptr;
}

void Monkey::deliver(const std::function<void()> &send)
{
    send();
    // Should the end-of-game display ever start under the monkey's feet, the
    // play screen is closed before its first step.
    if (const Game_Screen *screen = playScreen(); screen && screen->isFinishing())
        m_forms->unload(FormId::GameScreen);
}

QString Monkey::step()
{
    // "Exit game" or the main menu's close box ended the program: the player
    // starts it again.
    if (m_ended) {
        m_forms.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        startGame();
        return QStringLiteral("start the game again");
    }

    QString done;
    const int roll = int(m_random.bounded(100));
    if (roll < 30)
        done = pressKey();
    else if (roll < 48)
        done = playArrow();
    else if (roll < 58)
        done = tick();
    else if (roll < 74)
        done = clickSomewhere(false);
    else if (roll < 77)
        done = clickSomewhere(true);
    else if (roll < 82)
        done = pointAtMenuItem();
    else if (roll < 88)
        done = chooseLevelFile();
    else if (roll < 92)
        done = closeWindow();
    else if (roll < 95)
        done = runCredits();
    else if (roll < 98)
        done = changeFiles();
    else
        done = copySomething();

    // Painting and the deletion of closed windows happen between events, as
    // in the running game; timers do not run, so that a seed repeats exactly.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (const Form *form : visibleForms())
        ++m_shown[*m_forms->idOf(form)];
    return done.isEmpty() ? QStringLiteral("nothing to do") : done;
}

QString Monkey::pressKey()
{
    Form *form = pick(visibleForms());
    if (!form)
        return {};
    // The window itself, or one of its controls that take the keyboard.
    std::vector<QWidget *> targets{form};
    for (QWidget *child : form->findChildren<QWidget *>()) {
        if (child->focusPolicy() != Qt::NoFocus && child->isVisible())
            targets.push_back(child);
    }
    QWidget *target = pick(targets);
    const auto key = Qt::Key(pick(Keys));
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    const int roll = int(m_random.bounded(10));
    if (roll == 0)
        modifiers = Qt::ShiftModifier;
    else if (roll == 1)
        modifiers = Qt::ControlModifier;

    // The way out of level 20 would start the end-of-game display, which
    // takes its time; the monkey keeps out of it.
    if (const auto *screen = playScreen(); screen && target->window() == screen && screen->Label2->text() == u"20"
                                           && screen->Cash->text() == u"0")
        return QStringLiteral("keep away from the end of level 20");
    deliver([&] { QTest::keyClick(target, key, modifiers); });
    return QStringLiteral("key %1 (modifiers %2) to %3 in %4")
        .arg(QKeySequence(key).toString())
        .arg(int(modifiers))
        .arg(QString::fromLatin1(target->metaObject()->className()))
        .arg(QString::fromLatin1(form->metaObject()->className()));
}

QString Monkey::playArrow()
{
    Game_Screen *screen = playScreen();
    if (!screen || !screen->isVisible())
        return {};
    if (screen->Label2->text() == u"20" && screen->Cash->text() == u"0")
        return QStringLiteral("keep away from the end of level 20");
    const int key = 37 + int(m_random.bounded(4));
    deliver([&] { screen->Form_KeyDown(key, int(m_random.bounded(2))); });
    return QStringLiteral("arrow %1 on the play screen").arg(key);
}

QString Monkey::tick()
{
    Game_Screen *screen = playScreen();
    // The clock ticks only while it runs.
    if (!screen || !screen->Timer1->isActive())
        return {};
    deliver([&] { screen->Timer1_Timer(); });
    return QStringLiteral("tick at %1 seconds left").arg(screen ? screen->Label5->text() : QString());
}

QString Monkey::clickSomewhere(bool twice)
{
    Form *form = pick(visibleForms());
    if (!form)
        return {};
    std::vector<QWidget *> targets;
    for (QWidget *child : form->findChildren<QWidget *>()) {
        if (child->isVisible() && child->width() > 0 && child->height() > 0)
            targets.push_back(child);
    }
    if (targets.empty())
        return {};
    QWidget *target = pick(targets);
    const QPoint at(int(m_random.bounded(target->width())), int(m_random.bounded(target->height())));
    // Now and then the middle button, which pastes into a text box.
    const bool middle = !twice && m_random.bounded(8) == 0;
    deliver([&] {
        if (twice)
            QTest::mouseDClick(target, Qt::LeftButton, {}, at);
        else
            QTest::mouseClick(target, middle ? Qt::MiddleButton : Qt::LeftButton, {}, at);
    });
    return QStringLiteral("%1 on %2 at %3,%4 in %5")
        .arg(twice ? QStringLiteral("double-click") : middle ? QStringLiteral("middle click") : QStringLiteral("click"))
        .arg(QString::fromLatin1(target->metaObject()->className()))
        .arg(at.x())
        .arg(at.y())
        .arg(QString::fromLatin1(form->metaObject()->className()));
}

QString Monkey::pointAtMenuItem()
{
    std::vector<Menu *> menus;
    for (Form *form : visibleForms()) {
        if (auto *menu = qobject_cast<Menu *>(form))
            menus.push_back(menu);
    }
    Menu *menu = pick(menus);
    if (!menu)
        return {};
    QLabel *item = pick(menu->Label1);
    QMouseEvent move(QEvent::MouseMove, QPointF(item->rect().center()), item->mapToGlobal(item->rect().center()),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    deliver([&] { QCoreApplication::sendEvent(item, &move); });
    return QStringLiteral("point at %1").arg(item->text());
}

QString Monkey::chooseLevelFile()
{
    auto *files = qobject_cast<Load_Files *>(visibleForm(FormId::LoadFiles));
    if (!files || files->File1->count() == 0)
        return {};
    const int row = int(m_random.bounded(files->File1->count()));
    files->File1->setCurrentRow(row);
    const QString name = files->File1->currentItem()->text();
    deliver([&] { files->File1_DblClick(); });
    return QStringLiteral("choose level file %1").arg(name);
}

QString Monkey::closeWindow()
{
    Form *form = pick(visibleForms());
    if (!form)
        return {};
    const QString name = QString::fromLatin1(form->metaObject()->className());
    deliver([&] { form->close(); });
    return QStringLiteral("close %1").arg(name);
}

QString Monkey::runCredits()
{
    auto *about = qobject_cast<About *>(visibleForm(FormId::About));
    if (!about)
        return {};
    const int steps = 1 + int(m_random.bounded(200));
    for (int i = 0; i < steps; ++i)
        about->nextStep();
    return QStringLiteral("%1 steps of the credits").arg(steps);
}

QString Monkey::changeFiles()
{
    // Level files appear and vanish beside the program while the list that
    // shows them stays open, some of them pipes or links to nothing that
    // could be read; the progress file is the game's alone.
    const QDir dir(m_dir.path());
    switch (m_random.bounded(6)) {
    case 0:
    case 1: {
        const QFileInfo odd = pick(std::vector<QFileInfo>(m_oddFiles.cbegin(), m_oddFiles.cend()));
        if (odd.fileName().isEmpty())
            return {};
        const QString name = odd.fileName() + (m_random.bounded(2) ? QStringLiteral(".lvl") : QStringLiteral(".LVL"));
        QFile::remove(dir.filePath(name));
        QFile::copy(odd.filePath(), dir.filePath(name));
        return QStringLiteral("put level file %1").arg(name);
    }
    case 2: {
        const QStringList levels = dir.entryList({QStringLiteral("*.lvl")}, QDir::Files);
        const QString name = pick(std::vector<QString>(levels.cbegin(), levels.cend()));
        if (name.isEmpty())
            return {};
        QFile::remove(dir.filePath(name));
        return QStringLiteral("remove level file %1").arg(name);
    }
    case 3:
        dir.mkdir(QStringLiteral("x.lvl"));
        return QStringLiteral("make a directory x.lvl");
    case 4: {
        const QStringList levels = dir.entryList({QStringLiteral("*.lvl")}, QDir::Files);
        const QString name = pick(std::vector<QString>(levels.cbegin(), levels.cend()));
        if (name.isEmpty())
            return {};
        // A listed file becomes a pipe before it is chosen.
        QFile::remove(dir.filePath(name));
        ::mkfifo(QFile::encodeName(dir.filePath(name)).constData(), 0644);
        return QStringLiteral("turn level file %1 into a pipe").arg(name);
    }
    default: {
        const QString targets[] = {QStringLiteral("/dev/null"), dir.filePath(QStringLiteral("nowhere")),
                                   dir.filePath(QStringLiteral("pipe"))};
        const QString target = targets[m_random.bounded(3)];
        ::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe"))).constData(), 0644);
        QFile::remove(dir.filePath(QStringLiteral("link.lvl")));
        QFile::link(target, dir.filePath(QStringLiteral("link.lvl")));
        return QStringLiteral("link link.lvl to %1").arg(target);
    }
    }
}

QString Monkey::copySomething()
{
    // What a later Ctrl+V or Shift+Insert pastes: nothing at all, a picture
    // without text, or one of the odd level files, whole.
    switch (m_random.bounded(4)) {
    case 0:
        QGuiApplication::clipboard()->setMimeData(new QMimeData);
        return QStringLiteral("empty the clipboard");
    case 1: {
        auto *picture = new QMimeData;
        picture->setData(QStringLiteral("image/png"), QByteArray("\x89PNG"));
        QGuiApplication::clipboard()->setMimeData(picture);
        return QStringLiteral("copy a picture");
    }
    default:
        break;
    }
    const QFileInfo odd = pick(std::vector<QFileInfo>(m_oddFiles.cbegin(), m_oddFiles.cend()));
    QFile file(odd.filePath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QGuiApplication::clipboard()->setText(QString::fromLatin1(file.readAll()));
    return QStringLiteral("copy %1").arg(odd.fileName());
}

QString Monkey::brokenRule()
{
    if (!m_badMessages.isEmpty())
        return QStringLiteral("a message without a text or with a strange title: ") + m_badMessages.join(u'|');

    // At most one of each window.
    std::map<QByteArray, int> alive;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        const auto *form = qobject_cast<Form *>(widget);
        if (form && !form->isUnloaded() && ++alive[form->metaObject()->className()] > 1)
            return QStringLiteral("two %1 windows").arg(QString::fromLatin1(form->metaObject()->className()));
    }

    // The progress file holds nothing, or a line the game writes.
    QFile progress(ProgressFile::path());
    if (progress.exists()) {
        if (!progress.open(QIODevice::ReadOnly))
            return QStringLiteral("the progress file cannot be read");
        const QByteArray content = progress.readAll();
        bool written = content.isEmpty();
        for (int slot = 1; slot <= LevelTable::CustomSlot && !written; ++slot)
            written = content == ProgressFile::content(slot);
        if (!written)
            return QStringLiteral("the progress file holds ") + QString::fromLatin1(content.toPercentEncoding());
    }

    // The editor's line report and preview follow its map box.
    if (const auto *editor = qobject_cast<MapEditor *>(visibleForm(FormId::MapEditor))) {
        QStringList rows = editor->Text1->toPlainText().split(u'\n');
        if (rows.last().isEmpty())
            rows.removeLast();
        std::size_t codes = 0;
        for (const QString &row : rows)
            codes += std::size_t(TileCodes::cutRow(row).size());
        if (editor->List1() != rows || editor->List2->count() != rows.size() || editor->Image1().size() != codes + 1)
            return QStringLiteral("the editor's check does not follow its map box");
    }

    Game_Screen *screen = playScreen();
    if (!screen)
        return {};
    const auto number = [](const QLabel *label) { return label->text().toDouble(); };

    int collectibles = 0;
    for (const ImageElement &tile : screen->Image1()) {
        if (tile.tag == u"3" || tile.tag == u"7")
            ++collectibles;
    }
    if (number(screen->Cash) < 0 || number(screen->Cash) != collectibles)
        return QStringLiteral("screen cash %1 with %2 banknotes and diamonds left")
            .arg(screen->Cash->text())
            .arg(collectibles);

    if (screen != m_scoredScreen) {
        // A new play screen is a new game, which starts from its own score.
        m_scoredScreen = screen;
        m_score = number(screen->Label4);
    }
    if (number(screen->Label4) < m_score)
        return QStringLiteral("the score fell from %1 to %2").arg(m_score).arg(screen->Label4->text());
    m_score = number(screen->Label4);

    const double lives = number(screen->Lives_Number);
    if (lives < 0 || lives > 3)
        return QStringLiteral("%1 extra lives").arg(screen->Lives_Number->text());

    bool isNumber = false;
    const int level = screen->Label2->text().toInt(&isNumber);
    const bool fromFile = screen->Label2->text() == u"File";
    if (!fromFile && (!isNumber || level < 1 || level > LevelTable::BuiltInLevels))
        return QStringLiteral("level label %1").arg(screen->Label2->text());
    const LevelRecord &played = screen->level(fromFile ? LevelTable::CustomSlot : level - 1);
    const ImageElement &figure = screen->Image3();
    if (figure.left == played.locationX.trimmed().toInt() && figure.top == played.locationY.trimmed().toInt())
        return {};
    for (const ImageElement &tile : screen->Image1()) {
        if (tile.left == figure.left && tile.top == figure.top)
            return tile.tag == u"0" ? QString() : QStringLiteral("the figure stands on a tile %1").arg(tile.tag);
    }
    return QStringLiteral("the figure stands off the map at %1,%2").arg(figure.left).arg(figure.top);
}

} // namespace

// Thousands of random events on the running game, seed after seed.
class TestMonkey : public QObject
{
    Q_OBJECT

private slots:
    void randomPlayKeepsTheRules_data();
    void randomPlayKeepsTheRules();
};

void TestMonkey::randomPlayKeepsTheRules_data()
{
    QTest::addColumn<quint32>("seed");
    for (const quint32 seed : {1u, 7u, 42u, 99u, 2024u, 31337u, 65535u, 123456u})
        QTest::addRow("seed %u", seed) << seed;
}

void TestMonkey::randomPlayKeepsTheRules()
{
    QFETCH(quint32, seed);
    constexpr int Events = 8000;

    Monkey monkey(seed, QStringLiteral(VELTRANO_ODD_LEVEL_FILES));
    std::deque<QString> recent;
    for (int event = 0; event < Events; ++event) {
        recent.push_back(QString::number(event) + QStringLiteral(": ") + monkey.step());
        if (recent.size() > 15)
            recent.pop_front();
        const QString broken = monkey.brokenRule();
        if (!broken.isEmpty()) {
            for (const QString &line : recent)
                qInfo("%s", qPrintable(line));
            QFAIL(qPrintable(broken));
        }
    }
    // The monkey is worth its run only if it got into every window.
    for (const FormId id : AllForms)
        QVERIFY2(monkey.shownCount().count(id), formName(id));
}

QTEST_MAIN(TestMonkey)
#include "tst_monkey.moc"
