// SPDX-License-Identifier: GPL-3.0-or-later
#include "Desktop.h"
#include "GameRun.h"
#include "VirtualDisplay.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>

#include <memory>

namespace {

using WindowId = Desktop::WindowId;

// A point given in twips, the unit the game lays its windows out in, as a
// pixel of the window's client area.
QPoint twips(int x, int y)
{
    constexpr int PerPixel = 15;
    return QPoint((x + PerPixel / 2) / PerPixel, (y + PerPixel / 2) / PerPixel);
}

// The middle of menu item `index`: items are 3735 by 375 twips, at left 480,
// the first at top 480 and each 360 below the one before.
QPoint menuItem(int index)
{
    return twips(480 + 3735 / 2, 480 + 360 * index + 375 / 2);
}

// The colours of a menu item, highlighted and not.
const QColor Highlighted(192, 255, 255);
const QColor Normal(0, 128, 128);

// The item of a four-item menu that the screen shows highlighted: the one
// whose left end, clear of its centred text, has the highlight colour while
// the others have the normal one; -1 when the menu does not look like that.
int highlightedItem(const QImage &menu)
{
    int highlighted = -1;
    for (int index = 0; index < 4; ++index) {
        const QPoint leftEnd = twips(480 + 60, 480 + 360 * index + 375 / 2);
        if (!menu.valid(leftEnd))
            return -1;
        const QColor colour = menu.pixelColor(leftEnd);
        if (colour == Highlighted && highlighted < 0)
            highlighted = index;
        else if (colour != Normal)
            return -1;
    }
    return highlighted;
}

// One arrow key per letter of a route: D, U, R, L.
QStringList arrowKeys(QStringView route)
{
    QStringList keys;
    for (const QChar step : route) {
        switch (step.unicode()) {
        case 'D':
            keys.append(QStringLiteral("Down"));
            break;
        case 'U':
            keys.append(QStringLiteral("Up"));
            break;
        case 'R':
            keys.append(QStringLiteral("Right"));
            break;
        case 'L':
            keys.append(QStringLiteral("Left"));
            break;
        }
    }
    return keys;
}

// Level 1 from its start to its exit, every banknote on the way: 147 presses.
constexpr QStringView LevelOneRoute =
    u"DDRRRRRDULLLLLDDDRRRRUDDURRDUUDRRRRRRRDDDLLLDDDLDULUUURUDLLLLUDRRRDDDRDDLLLLLL"
    u"RRRRRRUURUUURRRUUUUUUUULLLLLLLLLLLRRRRRRRRRRRDDDDDDDDDDDDDLLLLLLLLLLL";

// A level drawn in the editor: the explorer starts in column 1 of row 1
// (counted from 0, so the editor's Left and Top start 2) and walks right
// along that row, taking two banknotes, two diamonds and a clock,
// into the exit. The rows below show off the other tiles.
const QStringList EditedMap = {
    QStringLiteral("1111111111111111"),
    QStringLiteral("10370084003700041"),
    QStringLiteral("1111111111111111"),
    QStringLiteral("2020202020202020"),
    QStringLiteral("0000000000000000"),
    QStringLiteral("800810820830850860870880"),
    QStringLiteral("0000000000000000"),
    QStringLiteral("0606060606060606"),
    QStringLiteral("0000000000000000"),
    QStringLiteral("90909090909090909090909090909090"),
    QStringLiteral("0000000000000000"),
    QStringLiteral("2200111111110022"),
    QStringLiteral("2000150000010002"),
    QStringLiteral("2000111111110002"),
    QStringLiteral("2000000000000002"),
    QStringLiteral("2222222222222222"),
};
constexpr QStringView EditedRoute = u"RRRRRRRRRRRRR";

// Where the editor keeps its controls (inside its frames, as twips).
const QPoint TopStartUpArrow = twips(600 + 1440 + 127, 4800 + 240 + 50);
const QPoint LeftStartUpArrow = twips(600 + 1440 + 127, 4800 + 600 + 50);
const QPoint LevelNameBox = twips(2640 + 120 + 1575 / 2, 5880 + 480 + 285 / 2);
const QPoint SaveButton = twips(2640 + 1680 + 615 / 2, 5880 + 480 + 285 / 2);
const QPoint MapBoxBelowRows = twips(1560 + 4455 / 2, 3495 - 600);
// The middle of a palette tile by its place, and of a preview cell, each
// inside its one-pixel frame.
QPoint paletteTile(int index)
{
    return twips(600 + 15 + 480 * (index % 9) + 240, 3480 + 15 + 480 * (index / 9) + 240);
}
QPoint previewCell(int column, int row)
{
    return twips(6120 + 15 + 480 * column + 240, 15 + 480 * row + 240);
}
// The first name in the load-level screen's file list.
const QPoint FirstFileName = twips(480 + 600, 480 + 140);

constexpr int ExitTimeoutMs = 10000;

} // namespace

// The built game in a real X server, driven through keyboard, mouse and close
// boxes as a player drives it, and judged by the windows on screen and the
// files in its directory.
class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startsWithTheMainMenuAlone();
    void newGamePlaysLevelOneToItsExit();
    void levelMadeInTheEditorIsPlayedFromTheList();
    void editorTestPlaysItsMapAndComesBackAsItWas();
    void levelPaintedOnThePreviewIsPlayedAndSaved();
    void aboutScreenClosesBackToTheMainMenu();
    void exitGameEndsTheProgram();
    void closingTheMainMenuEndsTheProgram();
    void readOnlyDirectoryKeepsProgressInThePlayersFolder();
    void unwritableHomeStillPlaysAndReportsTheFailedSave();
    void pastingAnEmptyClipboardInsertsNothing();

private:
    // Starts the game and returns its main menu, focused.
    WindowId startGame(GameRun::Directory directory = GameRun::Directory::Writable,
                       GameRun::Home home = GameRun::Home::Writable);
    // Waits for the window, gives it the keyboard and returns it.
    WindowId focused(const QString &title);
    // Closes the play screen and goes back through the play menu and the main
    // menu to the editor; returns it, focused.
    WindowId editorAfterPlayScreen(WindowId screen);
    // A numbered screenshot of the whole screen, kept if the test fails.
    void shoot(const QString &step);
    // A screenshot of one window for the README.
    void shootForDocs(WindowId window, const QString &name);

    std::unique_ptr<VirtualDisplay> m_display;
    std::unique_ptr<Desktop> m_desktop;
    std::unique_ptr<GameRun> m_game;
    QString m_shots;
    int m_shotCount = 0;
};

void TestEndToEnd::initTestCase()
{
    for (const char *tool : {"Xvfb", "xdotool", "xprop", "xwininfo", "import"}) {
        QVERIFY2(!QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty(),
                 qPrintable(QStringLiteral("%1 is missing: run ./scripts/test, which installs it").arg(tool)));
    }
    QVERIFY2(QFile::exists(QStringLiteral(VELTRANO_EXECUTABLE)), VELTRANO_EXECUTABLE);

    m_display = std::make_unique<VirtualDisplay>();
    QVERIFY2(m_display->isRunning(), qPrintable(m_display->errorString()));
    m_desktop = std::make_unique<Desktop>(*m_display, QStringLiteral(XCLOSE_EXECUTABLE));
    QVERIFY2(m_desktop->waitUntilEmpty(), qPrintable(m_desktop->lastError()));
}

void TestEndToEnd::init()
{
    m_shots = QStringLiteral(SCREENSHOT_DIR "/") + QString::fromLatin1(QTest::currentTestFunction());
    QDir(m_shots).removeRecursively();
    QVERIFY(QDir().mkpath(m_shots));
    m_shotCount = 0;
}

void TestEndToEnd::cleanup()
{
    if (QTest::currentTestFailed()) {
        shoot(QStringLiteral("failed"));
        if (m_game)
            qWarning("The game printed:\n%s", m_game->output().constData());
        qWarning("Screenshots are in %s", qPrintable(m_shots));
    } else {
        QDir(m_shots).removeRecursively();
    }
    // Killing the game takes its windows off the screen for the next test.
    m_game.reset();
    QVERIFY2(m_desktop->waitUntilEmpty(), qPrintable(m_desktop->lastError()));
}

WindowId TestEndToEnd::startGame(GameRun::Directory directory, GameRun::Home home)
{
    m_game = std::make_unique<GameRun>(QStringLiteral(VELTRANO_EXECUTABLE), *m_display, directory, home);
    if (!m_game->start()) {
        QTest::qFail(qPrintable(m_game->errorString()), __FILE__, __LINE__);
        return 0;
    }
    return focused(QStringLiteral("Main Menu"));
}

WindowId TestEndToEnd::focused(const QString &title)
{
    const WindowId window = m_desktop->waitForWindow(title);
    if (window == 0 || !m_desktop->focus(window)) {
        QTest::qFail(qPrintable(m_desktop->lastError()), __FILE__, __LINE__);
        return 0;
    }
    return window;
}

WindowId TestEndToEnd::editorAfterPlayScreen(WindowId screen)
{
    const bool toEditor = m_desktop->close(screen) && focused(QStringLiteral("Play Game"))
        && m_desktop->pressKeys({QStringLiteral("Up"), QStringLiteral("Return")})
        && focused(QStringLiteral("Main Menu"))
        && m_desktop->pressKeys({QStringLiteral("Down"), QStringLiteral("Return")});
    return toEditor ? focused(QStringLiteral("Veltrano - MAP EDITOR")) : 0;
}

void TestEndToEnd::shoot(const QString &step)
{
    ++m_shotCount;
    const QString name = QStringLiteral("%1-%2.png").arg(m_shotCount, 2, 10, QLatin1Char('0')).arg(step);
    if (!m_desktop->screenshot(m_shots + u'/' + name))
        qWarning("No screenshot: %s", qPrintable(m_desktop->lastError()));
}

void TestEndToEnd::shootForDocs(WindowId window, const QString &name)
{
    const QString docs = QStringLiteral(SCREENSHOT_DIR "/docs");
    QDir().mkpath(docs);
    if (!m_desktop->screenshot(docs + u'/' + name, window))
        qWarning("No screenshot: %s", qPrintable(m_desktop->lastError()));
}

// The program opens with the main menu and nothing else.
void TestEndToEnd::startsWithTheMainMenuAlone()
{
    const WindowId menu = startGame();
    QVERIFY(menu);
    shoot(QStringLiteral("started"));
    QVERIFY2(m_desktop->waitForOnly(QStringLiteral("Main Menu")), qPrintable(m_desktop->lastError()));
    // The game's icon, also drawn at two and four times its size for docks
    // and task bars that show it larger.
    QCOMPARE(m_desktop->iconSizes(menu), (QStringList{"32x32", "64x64", "128x128"}));
    // "Play Game" is highlighted, and the arrow keys move the highlight.
    QTRY_COMPARE(highlightedItem(m_desktop->grab(menu)), 0);
    QVERIFY(m_desktop->pressKeys({QStringLiteral("Down"), QStringLiteral("Down")}));
    QTRY_COMPARE(highlightedItem(m_desktop->grab(menu)), 2);
    QVERIFY(m_desktop->pressKeys({QStringLiteral("Up"), QStringLiteral("Up"), QStringLiteral("Up")}));
    QTRY_COMPARE(highlightedItem(m_desktop->grab(menu)), 3);
    QVERIFY(m_game->isRunning());
}

// "Play Game", "Start new game", and level 1 played by its arrow-key route:
// reaching level 2 records slot 1 in LGT.Log, and the play screen stays.
void TestEndToEnd::newGamePlaysLevelOneToItsExit()
{
    QVERIFY(startGame());
    QVERIFY(m_desktop->pressKeys({QStringLiteral("Return")}));
    QVERIFY(focused(QStringLiteral("Play Game")));
    QVERIFY(m_desktop->pressKeys({QStringLiteral("Return")}));
    const WindowId screen = focused(QStringLiteral("Veltrano"));
    QVERIFY(screen);
    QVERIFY2(m_desktop->waitForOnly(QStringLiteral("Veltrano")), qPrintable(m_desktop->lastError()));
    shoot(QStringLiteral("level-1"));
    // Level 1 is built on the way in, which leaves the progress file empty.
    QCOMPARE(m_game->file(QStringLiteral("LGT.Log")), QByteArray());

    const QStringList route = arrowKeys(LevelOneRoute);
    QCOMPARE(route.size(), 147);
    // Part of the way, with some banknotes taken, for the README.
    QVERIFY(m_desktop->pressKeys(route.mid(0, 60), 15));
    shootForDocs(screen, QStringLiteral("play-screen.png"));
    QVERIFY(m_desktop->pressKeys(route.mid(60), 15));

    QTRY_COMPARE_WITH_TIMEOUT(m_game->file(QStringLiteral("LGT.Log")), QByteArray(" 125 \r\n"), 10000);
    shoot(QStringLiteral("level-2"));
    QVERIFY2(m_desktop->waitForOnly(QStringLiteral("Veltrano")), qPrintable(m_desktop->lastError()));
    QVERIFY(m_game->isRunning());
    // A game the player may write beside keeps nothing in their home.
    QVERIFY(!QFileInfo::exists(m_game->dataFolder()));
}

// A level typed into the editor is saved under a name of the user's, played
// from the load-level screen to its exit, and the list comes back.
void TestEndToEnd::levelMadeInTheEditorIsPlayedFromTheList()
{
    QVERIFY(startGame());
    QVERIFY(m_desktop->pressKeys({QStringLiteral("Down"), QStringLiteral("Return")}));
    const WindowId editor = focused(QStringLiteral("Veltrano - MAP EDITOR"));
    QVERIFY(editor);
    QVERIFY2(m_desktop->waitForOnly(QStringLiteral("Veltrano - MAP EDITOR")), qPrintable(m_desktop->lastError()));

    // The map box has the keyboard when the editor opens.
    QVERIFY(m_desktop->typeText(EditedMap.join(u'\n')));
    // Start in column 2, row 2 (counted from 1): each upper arrow adds one.
    QVERIFY(m_desktop->click(editor, TopStartUpArrow));
    QVERIFY(m_desktop->click(editor, LeftStartUpArrow));
    // A fresh name replaces "Level".
    QVERIFY(m_desktop->click(editor, LevelNameBox));
    QVERIFY(m_desktop->pressKeys({QStringLiteral("ctrl+a")}));
    QVERIFY(m_desktop->typeText(QStringLiteral("Corridor")));
    shootForDocs(editor, QStringLiteral("editor.png"));
    QVERIFY(m_desktop->click(editor, SaveButton));

    // The success message is a box of the editor titled with the game's name.
    const WindowId saved = focused(QStringLiteral("Veltrano"));
    QVERIFY(saved);
    QCOMPARE(m_desktop->transientFor(saved), editor);
    shoot(QStringLiteral("saved"));
    QVERIFY(m_desktop->pressKeys({QStringLiteral("Return")}));
    QVERIFY2(m_desktop->waitUntilGone(QStringLiteral("Veltrano")), qPrintable(m_desktop->lastError()));
    // With no window manager to hand it back, the editor takes the keyboard
    // again itself, and it carries the game's icon like every window.
    QTRY_COMPARE(m_desktop->focusedWindow(), editor);
    QVERIFY(!m_desktop->iconSizes(editor).isEmpty());

    QByteArray expected = "480\r\n480\r\n12632256\r\n30\r\n";
    for (const QString &row : EditedMap)
        expected += row.toLatin1() + "\r\n";
    QCOMPARE(m_game->file(QStringLiteral("Corridor.lvl")), expected);

    // The close box asks whether the level was saved.
    QVERIFY(m_desktop->close(editor));
    const WindowId question = focused(QStringLiteral("SAVE"));
    QVERIFY(question);
    QCOMPARE(m_desktop->transientFor(question), editor);
    QVERIFY(m_desktop->pressKeys({QStringLiteral("y")}));
    QVERIFY2(focused(QStringLiteral("Main Menu")), "no main menu after the editor");
    QVERIFY2(m_desktop->waitForOnly(QStringLiteral("Main Menu")), qPrintable(m_desktop->lastError()));

    QVERIFY(m_desktop->pressKeys({QStringLiteral("Return")}));
    QVERIFY(focused(QStringLiteral("Play Game")));
    QVERIFY(m_desktop->pressKeys({QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Return")}));
    const WindowId list = focused(QStringLiteral("Load Level from files"));
    QVERIFY(list);
    QVERIFY2(m_desktop->waitForOnly(QStringLiteral("Load Level from files")), qPrintable(m_desktop->lastError()));
    shoot(QStringLiteral("list"));
    QVERIFY(m_desktop->click(list, FirstFileName, 2));

    QVERIFY(focused(QStringLiteral("Veltrano")));
    QVERIFY2(m_desktop->waitForOnly(QStringLiteral("Veltrano")), qPrintable(m_desktop->lastError()));
    shoot(QStringLiteral("playing"));
    // Starting a level from a file unlocks every built-in level.
    QCOMPARE(m_game->file(QStringLiteral("LGT.Log")), QByteArray(" 2500 \r\n"));
    QVERIFY(m_desktop->pressKeys(arrowKeys(EditedRoute), 40));

    QVERIFY2(m_desktop->waitForOnly(QStringLiteral("Load Level from files")), qPrintable(m_desktop->lastError()));
    shoot(QStringLiteral("back-to-list"));
    QVERIFY(m_game->isRunning());
}

// F5 plays the map in the editor, unsaved, to its exit; the editor comes back
// with its text and its undo history, F6 judges a change, and Save shows what
// the map box held all along.
void TestEndToEnd::editorTestPlaysItsMapAndComesBackAsItWas()
{
    QVERIFY(startGame());
    QVERIFY(m_desktop->pressKeys({QStringLiteral("Down"), QStringLiteral("Return")}));
    const WindowId editor = focused(QStringLiteral("Veltrano - MAP EDITOR"));
    QVERIFY(editor);
    // The corridor of the level above; the row of trees is the last typing.
    const QStringList corridor = EditedMap.mid(0, 3);
    QVERIFY(m_desktop->typeText(corridor.join(u'\n') + QStringLiteral("\n2222")));
    QVERIFY(m_desktop->click(editor, TopStartUpArrow));
    QVERIFY(m_desktop->click(editor, LeftStartUpArrow));

    QVERIFY(m_desktop->pressKeys({QStringLiteral("F5")}));
    QVERIFY(focused(QStringLiteral("Veltrano")));
    QVERIFY2(m_desktop->waitForOnly(QStringLiteral("Veltrano")), qPrintable(m_desktop->lastError()));
    shoot(QStringLiteral("test-play"));
    QVERIFY(m_desktop->pressKeys(arrowKeys(EditedRoute), 40));

    QVERIFY2(m_desktop->waitForOnly(QStringLiteral("Veltrano - MAP EDITOR")), qPrintable(m_desktop->lastError()));
    QVERIFY(focused(QStringLiteral("Veltrano - MAP EDITOR")));
    shoot(QStringLiteral("back-in-the-editor"));
    QVERIFY(!m_game->hasFile(QStringLiteral("LGT.Log")));

    // Ctrl+Z takes the trees back; a diamond walled in on the fourth row
    // makes the level one that cannot be won, which F6 says on the verdict
    // line, with no box over the preview.
    QVERIFY(m_desktop->pressKeys({QStringLiteral("ctrl+z")}));
    QVERIFY(m_desktop->typeText(QStringLiteral("1117111")));
    QVERIFY(m_desktop->pressKeys({QStringLiteral("F6")}));
    QVERIFY2(m_desktop->waitForOnly(QStringLiteral("Veltrano - MAP EDITOR")), qPrintable(m_desktop->lastError()));
    QVERIFY(focused(QStringLiteral("Veltrano - MAP EDITOR")));
    shoot(QStringLiteral("verdict"));

    QVERIFY(m_desktop->click(editor, SaveButton));
    QVERIFY(focused(QStringLiteral("Veltrano")));
    QVERIFY(m_desktop->pressKeys({QStringLiteral("Return")}));
    QVERIFY2(m_desktop->waitUntilGone(QStringLiteral("Veltrano")), qPrintable(m_desktop->lastError()));
    QByteArray expected = "480\r\n480\r\n12632256\r\n30\r\n";
    for (const QString &row : corridor + QStringList{QStringLiteral("1117111")})
        expected += row.toLatin1() + "\r\n";
    QCOMPARE(m_game->file(QStringLiteral("Level.lvl")), expected);
    QVERIFY(!m_game->hasFile(QStringLiteral("LGT.Log")));
    QVERIFY(m_game->isRunning());
}

// "About this game", picked with the mouse, and its close box leads back to
// the main menu.
// A level drawn with the mouse alone: the exit and a row of diamonds painted
// on the empty preview, one taken off again and put back with Ctrl+Z, the
// start double-clicked, F6's route drawn, F5 played to the exit, and saved.
void TestEndToEnd::levelPaintedOnThePreviewIsPlayedAndSaved()
{
    QVERIFY(startGame());
    QVERIFY(m_desktop->pressKeys({QStringLiteral("Down"), QStringLiteral("Return")}));
    const WindowId editor = focused(QStringLiteral("Veltrano - MAP EDITOR"));
    QVERIFY(editor);
    QVERIFY2(m_desktop->waitForOnly(QStringLiteral("Veltrano - MAP EDITOR")), qPrintable(m_desktop->lastError()));

    constexpr int ExitTile = 4;
    constexpr int DiamondTile = 7;
    QVERIFY(m_desktop->click(editor, paletteTile(ExitTile), 1, Desktop::Button::Right));
    QVERIFY(m_desktop->click(editor, previewCell(7, 1)));
    QVERIFY(m_desktop->click(editor, paletteTile(DiamondTile), 1, Desktop::Button::Right));
    QVERIFY(m_desktop->drag(editor, {previewCell(1, 1), previewCell(3, 1), previewCell(5, 1)}));
    QVERIFY(m_desktop->drag(editor, {previewCell(3, 1), previewCell(3, 1)}, Desktop::Button::Right));
    QVERIFY(m_desktop->click(editor, previewCell(0, 1), 2));
    shoot(QStringLiteral("painted"));

    QVERIFY(m_desktop->pressKeys({QStringLiteral("F6")}));
    // The route runs through the cell before the exit, drawn over the floor
    // in a lane beside the cell's middle, once the verdict is in.
    const auto routeCrosses = [this, editor](const QPoint &cell) {
        const QImage shown = m_desktop->grab(editor);
        for (int dy = -12; dy <= 12; ++dy) {
            for (int dx = -12; dx <= 12; ++dx) {
                const QColor pixel = shown.pixelColor(cell + QPoint(dx, dy));
                if (pixel.red() > 150 && pixel.green() < 110 && pixel.blue() > 100)
                    return true;
            }
        }
        return false;
    };
    QTRY_VERIFY_WITH_TIMEOUT(routeCrosses(previewCell(6, 1)), 15000);
    QVERIFY(focused(QStringLiteral("Veltrano - MAP EDITOR")));
    shoot(QStringLiteral("route"));

    // The last stroke, the diamond taken off, comes back.
    QVERIFY(m_desktop->pressKeys({QStringLiteral("ctrl+z")}));
    QVERIFY(m_desktop->pressKeys({QStringLiteral("F5")}));
    QVERIFY(focused(QStringLiteral("Veltrano")));
    QVERIFY(m_desktop->pressKeys(QStringList(7, QStringLiteral("Right")), 40));
    QVERIFY2(m_desktop->waitForOnly(QStringLiteral("Veltrano - MAP EDITOR")), qPrintable(m_desktop->lastError()));

    QVERIFY(m_desktop->click(editor, SaveButton));
    QVERIFY(focused(QStringLiteral("Veltrano")));
    QVERIFY(m_desktop->pressKeys({QStringLiteral("Return")}));
    QVERIFY2(m_desktop->waitUntilGone(QStringLiteral("Veltrano")), qPrintable(m_desktop->lastError()));
    QCOMPARE(m_game->file(QStringLiteral("Level.lvl")),
             QByteArray("0\r\n480\r\n12632256\r\n30\r\n0000000000000000\r\n0777770400000000\r\n"));
}

void TestEndToEnd::aboutScreenClosesBackToTheMainMenu()
{
    const WindowId menu = startGame();
    QVERIFY(menu);
    QVERIFY(m_desktop->click(menu, menuItem(2)));
    const WindowId about = m_desktop->waitForOnly(QStringLiteral("About"));
    QVERIFY2(about, qPrintable(m_desktop->lastError()));
    shoot(QStringLiteral("about"));

    QVERIFY(m_desktop->close(about));
    const WindowId back = m_desktop->waitForOnly(QStringLiteral("Main Menu"));
    QVERIFY2(back, qPrintable(m_desktop->lastError()));
    // The menu is back with its first item highlighted, not the one clicked.
    QTRY_COMPARE(highlightedItem(m_desktop->grab(back)), 0);
    QVERIFY(m_game->isRunning());
}

// "Exit game" ends the program at once and cleanly, with no window left.
void TestEndToEnd::exitGameEndsTheProgram()
{
    const WindowId menu = startGame();
    QVERIFY(menu);
    // Up from the first item wraps to the last, "Exit game".
    QVERIFY(m_desktop->pressKeys({QStringLiteral("Up")}));
    QTRY_COMPARE(highlightedItem(m_desktop->grab(menu)), 3);
    QVERIFY(m_desktop->pressKeys({QStringLiteral("Return")}));
    QVERIFY2(m_game->waitForExit(ExitTimeoutMs), "the game kept running");
    QVERIFY(m_game->exitedNormally());
    QCOMPARE(m_game->exitCode(), 0);
    QVERIFY2(m_desktop->waitUntilEmpty(), qPrintable(m_desktop->lastError()));
}

// The main menu's close box ends the game just like "Exit game", even with
// the play menu loaded and hidden.
void TestEndToEnd::closingTheMainMenuEndsTheProgram()
{
    QVERIFY(startGame());
    QVERIFY(m_desktop->pressKeys({QStringLiteral("Return")}));
    QVERIFY(focused(QStringLiteral("Play Game")));
    QVERIFY(m_desktop->pressKeys({QStringLiteral("Up"), QStringLiteral("Return")}));
    const WindowId menu = focused(QStringLiteral("Main Menu"));
    QVERIFY(menu);

    QVERIFY(m_desktop->close(menu));
    QVERIFY2(m_game->waitForExit(ExitTimeoutMs), "the game kept running");
    QVERIFY(m_game->exitedNormally());
    QCOMPARE(m_game->exitCode(), 0);
    QVERIFY2(m_desktop->waitUntilEmpty(), qPrintable(m_desktop->lastError()));
}

// Installed where the player may not write, as a package installs it: the
// progress and the saved levels go to the player's data folder, and the next
// run finds them there.
void TestEndToEnd::readOnlyDirectoryKeepsProgressInThePlayersFolder()
{
    QVERIFY(startGame(GameRun::Directory::ReadOnly));
    QVERIFY(m_desktop->pressKeys({QStringLiteral("Return")}));
    QVERIFY(focused(QStringLiteral("Play Game")));
    QVERIFY(m_desktop->pressKeys({QStringLiteral("Return")}));
    const WindowId screen = focused(QStringLiteral("Veltrano"));
    QVERIFY(screen);
    QVERIFY(m_desktop->pressKeys(arrowKeys(LevelOneRoute), 15));
    QTRY_COMPARE_WITH_TIMEOUT(m_game->dataFile(QStringLiteral("LGT.Log")), QByteArray(" 125 \r\n"), 10000);
    shoot(QStringLiteral("level-2"));

    const WindowId editor = editorAfterPlayScreen(screen);
    QVERIFY(editor);
    QVERIFY(m_desktop->typeText(QStringLiteral("1111\n1031\n1041\n1111")));
    QVERIFY(m_desktop->click(editor, SaveButton));
    QVERIFY(focused(QStringLiteral("Veltrano")));
    shoot(QStringLiteral("saved"));
    QVERIFY(m_desktop->pressKeys({QStringLiteral("Return")}));
    QVERIFY2(m_desktop->waitUntilGone(QStringLiteral("Veltrano")), qPrintable(m_desktop->lastError()));
    QVERIFY(m_game->hasDataFile(QStringLiteral("Level.lvl")));

    QVERIFY(m_desktop->close(editor));
    QVERIFY(focused(QStringLiteral("SAVE")));
    QVERIFY(m_desktop->pressKeys({QStringLiteral("y")}));
    const WindowId menu = focused(QStringLiteral("Main Menu"));
    QVERIFY(menu);
    QVERIFY(m_desktop->close(menu));
    QVERIFY2(m_game->waitForExit(ExitTimeoutMs), "the game kept running");
    QCOMPARE(QDir(m_game->directory()).entryList(QDir::Files), QStringList{QStringLiteral("veltrano")});

    // Another day: "Start from level" offers level 2, whose entry is the one
    // below level 1 only while it is unlocked.
    QVERIFY2(m_game->start(), qPrintable(m_game->errorString()));
    QVERIFY(focused(QStringLiteral("Main Menu")));
    QVERIFY(m_desktop->pressKeys({QStringLiteral("Return")}));
    QVERIFY(focused(QStringLiteral("Play Game")));
    QVERIFY(m_desktop->pressKeys({QStringLiteral("Down"), QStringLiteral("Return")}));
    QVERIFY(focused(QStringLiteral("Start From Level:")));
    shoot(QStringLiteral("start-from-level"));
    QVERIFY(m_desktop->pressKeys({QStringLiteral("Down"), QStringLiteral("Return")}));
    QVERIFY(focused(QStringLiteral("Veltrano")));
    QVERIFY2(m_desktop->waitForOnly(QStringLiteral("Veltrano")), qPrintable(m_desktop->lastError()));
    QCOMPARE(m_game->dataFile(QStringLiteral("LGT.Log")), QByteArray(" 125 \r\n"));
    QVERIFY(m_game->isRunning());
}

// With neither the program directory nor the home writable, the game still
// runs: level 1 starts without a progress file, and saving a level reports
// the error.
void TestEndToEnd::unwritableHomeStillPlaysAndReportsTheFailedSave()
{
    QVERIFY(startGame(GameRun::Directory::ReadOnly, GameRun::Home::ReadOnly));
    QVERIFY(m_desktop->pressKeys({QStringLiteral("Return")}));
    QVERIFY(focused(QStringLiteral("Play Game")));
    QVERIFY(m_desktop->pressKeys({QStringLiteral("Return")}));
    const WindowId screen = focused(QStringLiteral("Veltrano"));
    QVERIFY(screen);
    QVERIFY(m_desktop->pressKeys(arrowKeys(u"DDRR")));
    shoot(QStringLiteral("playing"));
    QVERIFY(!m_game->hasFile(QStringLiteral("LGT.Log")));
    QVERIFY(!QFileInfo::exists(m_game->dataFolder()));

    const WindowId editor = editorAfterPlayScreen(screen);
    QVERIFY(editor);
    QVERIFY(m_desktop->typeText(QStringLiteral("1111\n1041\n1111")));
    QVERIFY(m_desktop->click(editor, SaveButton));

    const WindowId error = focused(QStringLiteral("Error"));
    QVERIFY2(error, "no error message after saving with nowhere to save");
    QCOMPARE(m_desktop->transientFor(error), editor);
    shoot(QStringLiteral("error"));
    QVERIFY(m_desktop->pressKeys({QStringLiteral("Return")}));
    QVERIFY2(m_desktop->waitForOnly(QStringLiteral("Veltrano - MAP EDITOR")), qPrintable(m_desktop->lastError()));
    QVERIFY(!m_game->hasFile(QStringLiteral("Level.lvl")));
    QVERIFY(m_game->isRunning());
}

QTEST_GUILESS_MAIN(TestEndToEnd)
// Nothing has been copied on the test's fresh X server: every way of pasting
// into the map box and the name box inserts nothing, the game keeps running
// and the level typed around the pastes saves whole.
void TestEndToEnd::pastingAnEmptyClipboardInsertsNothing()
{
    QVERIFY(startGame());
    QVERIFY(m_desktop->pressKeys({QStringLiteral("Down"), QStringLiteral("Return")}));
    const WindowId editor = focused(QStringLiteral("Veltrano - MAP EDITOR"));
    QVERIFY(editor);
    QVERIFY(m_desktop->typeText(QStringLiteral("1111\n1041")));
    const QStringList pasteKeys{QStringLiteral("ctrl+v"), QStringLiteral("shift+Insert")};
    QVERIFY(m_desktop->pressKeys(pasteKeys));
    QVERIFY(m_desktop->click(editor, MapBoxBelowRows, 1, Desktop::Button::Middle));
    QVERIFY(m_desktop->click(editor, LevelNameBox));
    QVERIFY(m_desktop->pressKeys(pasteKeys));
    QVERIFY(m_desktop->click(editor, LevelNameBox, 1, Desktop::Button::Middle));
    shoot(QStringLiteral("pasted"));
    QVERIFY(m_game->isRunning());

    QVERIFY(m_desktop->click(editor, SaveButton));
    QVERIFY(focused(QStringLiteral("Veltrano")));
    QVERIFY(m_desktop->pressKeys({QStringLiteral("Return")}));
    QVERIFY2(m_desktop->waitForOnly(QStringLiteral("Veltrano - MAP EDITOR")), qPrintable(m_desktop->lastError()));
    QCOMPARE(m_game->file(QStringLiteral("Level.lvl")), QByteArray("0\r\n0\r\n12632256\r\n30\r\n1111\r\n1041\r\n"));
    QVERIFY(m_game->isRunning());
}

#include "tst_endtoend.moc"
