// SPDX-License-Identifier: GPL-3.0-or-later
#include "BestResults.h"
#include "BestTable.h"
#include "Forms.h"
#include "Game_Screen.h"
#include "LevelReplay.h"
#include "LevelRun.h"
#include "LevelTable.h"
#include "PlayCover.h"
#include "Play_Game.h"
#include "ScratchDir.h"
#include "Start_Level.h"
#include "VisibleWindows.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include <algorithm>
#include <cmath>

#include <optional>

Q_DECLARE_METATYPE(std::optional<QByteArray>)

namespace {

// How bright a colour looks, from 0 (black) to 1 (white), as the usual
// measure of text contrast counts it.
double luminance(const QColor &colour)
{
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    const double first = luminance(a);
    const double second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

} // namespace

// The level selection: what the progress file unlocks, how the highlight
// steps around locked levels, and where choosing and leaving lead.
class TestLevelSelection : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void progressFileUnlocksLevels_data();
    void progressFileUnlocksLevels();
    void missingProgressFileIsCreatedEmpty();
    void upAndDownStepAroundLockedLevels_data();
    void upAndDownStepAroundLockedLevels();
    void lockedLevelsIgnoreThePointer();
    void lockedLevelsAreReadableYetDimmer();
    void choosingLevelFiveBuildsSlotFour();
    void leavingReturnsToThePlayMenu_data();
    void leavingReturnsToThePlayMenu();
    void reopeningReadsTheFileAgain();
    void lockedLevelUnderTheHighlightDoesNotStart();
    void reachedLevelsShowTheirBest_data();
    void reachedLevelsShowTheirBest();
    void bestResultsListEveryLevelAndTheTotal();
    void watchAndWayAskForTheHighlightedLevel_data();
    void watchAndWayAskForTheHighlightedLevel();

private:
    // Opens the level selection from the play menu, as the player does.
    Start_Level *open();
    static QList<int> enabledItems(const Start_Level *selection);

    std::unique_ptr<ScratchDir> m_dir;
    std::unique_ptr<Forms> m_forms;
};

void TestLevelSelection::init()
{
    m_dir = std::make_unique<ScratchDir>();
    m_forms = std::make_unique<Forms>();
    m_forms->show(FormId::PlayGame);
}

void TestLevelSelection::cleanup()
{
    m_forms.reset();
    m_dir.reset();
}

Start_Level *TestLevelSelection::open()
{
    auto *play = m_forms->get<Play_Game>();
    play->focus(1);
    QTest::keyClick(play, Qt::Key_Return);
    return static_cast<Start_Level *>(m_forms->loaded(FormId::StartLevel));
}

QList<int> TestLevelSelection::enabledItems(const Start_Level *selection)
{
    QList<int> items;
    for (std::size_t i = 0; i < selection->Label1.size(); ++i) {
        if (selection->Label1[i]->isEnabled())
            items.append(int(i));
    }
    return items;
}

void TestLevelSelection::progressFileUnlocksLevels_data()
{
    QTest::addColumn<std::optional<QByteArray>>("content");
    QTest::addColumn<int>("levels");
    QTest::addColumn<int>("maxLevel");

    QTest::newRow("no file") << std::optional<QByteArray>() << 1 << 0;
    QTest::newRow("empty") << std::optional<QByteArray>("") << 1 << 0;
    QTest::newRow("slot 2") << std::optional<QByteArray>(" 250 \r\n") << 3 << 2;
    QTest::newRow("slot 19") << std::optional<QByteArray>(" 2375 \r\n") << 20 << 19;
    QTest::newRow("custom slot") << std::optional<QByteArray>(" 2500 \r\n") << 20 << 20;
    // Values the game never writes.
    QTest::newRow("200: slot 1.6") << std::optional<QByteArray>("200") << 2 << 2;
    QTest::newRow("187.5: slot 1.5, half to even") << std::optional<QByteArray>("187.5") << 2 << 2;
    QTest::newRow("312.5: slot 2.5, half to even") << std::optional<QByteArray>("312.5") << 3 << 2;
    QTest::newRow("junk") << std::optional<QByteArray>("level five") << 1 << 0;
    QTest::newRow("negative") << std::optional<QByteArray>("-750") << 1 << 0;
    QTest::newRow("beyond the last slot") << std::optional<QByteArray>("99999") << 20 << 20;
}

void TestLevelSelection::progressFileUnlocksLevels()
{
    QFETCH(std::optional<QByteArray>, content);
    QFETCH(int, levels);
    QFETCH(int, maxLevel);

    if (content)
        m_dir->write("LGT.Log", *content);
    const Start_Level *selection = open();
    QVERIFY(selection);
    QCOMPARE(visibleWindows(), QStringList{"Start From Level:"});

    QList<int> expected;
    for (int k = 0; k < levels; ++k)
        expected.append(k);
    expected.append(Start_Level::GoBack);
    QCOMPARE(enabledItems(selection), expected);
    QCOMPARE(selection->MaxLevel(), maxLevel);
    QCOMPARE(selection->Label1.at(std::size_t(selection->MaxLevel()))->text(),
             maxLevel == Start_Level::GoBack ? QStringLiteral("Go Back")
                                             : QStringLiteral("Start Level %1").arg(maxLevel + 1));
    QCOMPARE(selection->Curr->text(), QStringLiteral("0"));
    QVERIFY(selection->BackToMenu());
    // Only level items tell a best; "Go Back" is no level.
    QCOMPARE(selection->Label1.at(std::size_t(Start_Level::GoBack))->toolTip(), QString());
}

void TestLevelSelection::missingProgressFileIsCreatedEmpty()
{
    QVERIFY(!m_dir->exists("LGT.Log"));
    open();
    QVERIFY(m_dir->exists("LGT.Log"));
    QCOMPARE(m_dir->read("LGT.Log"), QByteArray());
}

void TestLevelSelection::upAndDownStepAroundLockedLevels_data()
{
    QTest::addColumn<std::optional<QByteArray>>("content");
    QTest::addColumn<int>("from");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<int>("to");

    const std::optional<QByteArray> none;
    const std::optional<QByteArray> three(" 250 \r\n");
    const std::optional<QByteArray> all(" 2500 \r\n");
    QTest::newRow("level 1 only: Down from level 1") << none << 0 << Qt::Key_Down << 20;
    QTest::newRow("level 1 only: Up from Go Back") << none << 20 << Qt::Key_Up << 0;
    QTest::newRow("three: Down from level 3") << three << 2 << Qt::Key_Down << 20;
    QTest::newRow("three: Up from Go Back") << three << 20 << Qt::Key_Up << 2;
    QTest::newRow("three: Up from level 1") << three << 0 << Qt::Key_Up << 20;
    QTest::newRow("three: Down from Go Back") << three << 20 << Qt::Key_Down << 0;
    QTest::newRow("three: Down from level 2") << three << 1 << Qt::Key_Down << 2;
    QTest::newRow("three: Up from level 2") << three << 1 << Qt::Key_Up << 0;
    QTest::newRow("all: Down from level 20") << all << 19 << Qt::Key_Down << 20;
    QTest::newRow("all: Up from Go Back") << all << 20 << Qt::Key_Up << 19;
    QTest::newRow("all: Down from level 7") << all << 6 << Qt::Key_Down << 7;
}

void TestLevelSelection::upAndDownStepAroundLockedLevels()
{
    QFETCH(std::optional<QByteArray>, content);
    QFETCH(int, from);
    QFETCH(Qt::Key, key);
    QFETCH(int, to);

    if (content)
        m_dir->write("LGT.Log", *content);
    Start_Level *selection = open();
    selection->focus(from);
    QTest::keyClick(selection, key);
    QCOMPARE(selection->Curr->text(), QString::number(to));
}

void TestLevelSelection::lockedLevelsIgnoreThePointer()
{
    m_dir->write("LGT.Log", " 250 \r\n");
    Start_Level *selection = open();
    QLabel *seven = selection->Label1.at(6);
    QTest::mouseMove(seven);
    QCOMPARE(selection->Curr->text(), QStringLiteral("0"));
    QTest::mouseClick(seven, Qt::LeftButton);
    QCOMPARE(visibleWindows(), QStringList{"Start From Level:"});
    QVERIFY(!m_forms->isLoaded(FormId::GameScreen));

    QTest::mouseMove(selection->Label1.at(2));
    QCOMPARE(selection->Curr->text(), QStringLiteral("2"));
}

// A locked level reads well enough on the teal to know which one it is,
// and still looks less bright than the levels that can be chosen.
void TestLevelSelection::lockedLevelsAreReadableYetDimmer()
{
    const Start_Level *selection = open();
    // Neither of these two is highlighted.
    const QLabel *goBack = selection->Label1.back();
    const QLabel *locked = selection->Label1.at(1);
    QVERIFY(goBack->isEnabled());
    QVERIFY(!locked->isEnabled());
    const QColor teal = locked->palette().color(QPalette::Disabled, QPalette::Window);
    const QColor lockedText = locked->palette().color(QPalette::Disabled, QPalette::WindowText);
    const QColor openText = goBack->palette().color(QPalette::Active, QPalette::WindowText);
    QCOMPARE(teal, QColor(0, 128, 128));
    QVERIFY2(contrast(lockedText, teal) >= 3.0, qPrintable(QString::number(contrast(lockedText, teal))));
    QVERIFY(contrast(lockedText, teal) < contrast(openText, teal));
}

void TestLevelSelection::choosingLevelFiveBuildsSlotFour()
{
    m_dir->write("LGT.Log", " 2500 \r\n");
    Start_Level *selection = open();
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(selection, Qt::Key_Down);
    QTest::keyClick(selection, Qt::Key_Return);

    QCOMPARE(visibleWindows(), QStringList{"Veltrano"});
    QVERIFY(!m_forms->isLoaded(FormId::StartLevel));
    auto *screen = m_forms->get<Game_Screen>();
    const LevelRecord level = LevelTable::slot(4);
    QCOMPARE(screen->Label2->text(), QStringLiteral("5"));
    QCOMPARE(screen->Label5->text(), level.time);
    QCOMPARE(screen->Image3().left, level.locationX.trimmed().toInt());
    QCOMPARE(screen->Image3().top, level.locationY.trimmed().toInt());
    QCOMPARE(screen->Image1().front().tag, level.rows.front().left(1));

    // The play screen hands back to the play menu, not to the selection.
    QVERIFY(screen->close());
    QCOMPARE(visibleWindows(), QStringList{"Play Game"});
    QVERIFY(!m_forms->isLoaded(FormId::StartLevel));
    QCOMPARE(m_forms->get<Play_Game>()->Curr->text(), QStringLiteral("0"));
}

void TestLevelSelection::leavingReturnsToThePlayMenu_data()
{
    QTest::addColumn<QString>("how");

    QTest::newRow("Enter on Go Back") << "enter";
    QTest::newRow("click on Go Back") << "click";
    QTest::newRow("close box") << "close";
}

void TestLevelSelection::leavingReturnsToThePlayMenu()
{
    QFETCH(QString, how);

    m_dir->write("LGT.Log", " 250 \r\n");
    Start_Level *selection = open();
    QLabel *goBack = selection->Label1.at(Start_Level::GoBack);
    QTest::keyClick(selection, Qt::Key_Down);
    if (how == u"enter") {
        QTest::keyClick(selection, Qt::Key_Up);
        QTest::keyClick(selection, Qt::Key_Up);
        QCOMPARE(selection->Curr->text(), QStringLiteral("20"));
        QTest::keyClick(selection, Qt::Key_Return);
    } else if (how == u"click") {
        QTest::mouseMove(goBack);
        QTest::mouseClick(goBack, Qt::LeftButton);
    } else {
        QVERIFY(selection->close());
    }

    QCOMPARE(visibleWindows(), QStringList{"Play Game"});
    QVERIFY(!m_forms->isLoaded(FormId::StartLevel));
    QVERIFY(!m_forms->isLoaded(FormId::GameScreen));
    QCOMPARE(m_forms->get<Play_Game>()->Curr->text(), QStringLiteral("0"));
}

void TestLevelSelection::reopeningReadsTheFileAgain()
{
    Start_Level *selection = open();
    QCOMPARE(enabledItems(selection), (QList<int>{0, Start_Level::GoBack}));
    QTest::keyClick(selection, Qt::Key_Down);
    QTest::keyClick(selection, Qt::Key_Return);
    QCOMPARE(visibleWindows(), QStringList{"Play Game"});

    m_dir->write("LGT.Log", " 250 \r\n");
    selection = open();
    QCOMPARE(enabledItems(selection), (QList<int>{0, 1, 2, Start_Level::GoBack}));
    QCOMPARE(selection->Curr->text(), QStringLiteral("0"));
}

void TestLevelSelection::lockedLevelUnderTheHighlightDoesNotStart()
{
    // Slot 1.6 unlocks levels 1 and 2 but rounds to level 3 for the jump.
    m_dir->write("LGT.Log", "200");
    Start_Level *selection = open();
    selection->focus(Start_Level::GoBack);
    QTest::keyClick(selection, Qt::Key_Up);
    QCOMPARE(selection->Curr->text(), QStringLiteral("2"));
    QTest::keyClick(selection, Qt::Key_Return);
    QCOMPARE(visibleWindows(), QStringList{"Start From Level:"});
    QVERIFY(!m_forms->isLoaded(FormId::GameScreen));
}

void TestLevelSelection::reachedLevelsShowTheirBest_data()
{
    QTest::addColumn<QByteArray>("bestFile");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    const QString none = QStringLiteral("No best yet");
    const QByteArray both = BestResults::content({{1, {28, 1400}}, {2, {1, 3200}}, {3, {9, 100}}});
    QTest::newRow("no file") << QByteArray() << none << none;
    const QString first = QStringLiteral("Best: 28 seconds left, 1400 points");
    const QString second = QStringLiteral("Best: 1 second left, 3200 points");
    QTest::newRow("both, and a locked one") << both << first << second;
    QTest::newRow("without its heading") << both.sliced(both.indexOf('\n') + 1) << none << none;
    QTest::newRow("a line cut short") << QByteArray(both).replace(" 3200", "") << first << none;
    QTest::newRow("a level twice") << both + "1 30 1400\r\n" << first << second;
    QTest::newRow("a level beyond the twentieth") << both + "21 30 1400\r\n" << first << second;
    QTest::newRow("LF line ends") << QByteArray(both).replace("\r\n", "\n") << first << second;
    QTest::newRow("huge") << both + QByteArray(65 * 1024, ' ') << none << none;
}

// Only reached levels say anything, a file not the game's says nothing, a
// line the game cannot read hides no other, and LGT.Log stands.
void TestLevelSelection::reachedLevelsShowTheirBest()
{
    QFETCH(QByteArray, bestFile);
    if (!bestFile.isEmpty())
        m_dir->write("Best.Log", bestFile);
    m_dir->write("LGT.Log", " 125 \r\n");
    Start_Level *moved = open();
    const Start_Level *selection = moved;
    QTEST(selection->Label1.at(0)->toolTip(), "first");
    QTEST(selection->Label1.at(1)->toolTip(), "second");
    QCOMPARE(selection->Label1.at(2)->toolTip(), QString());
    QCOMPARE(m_dir->read("LGT.Log"), QByteArray(" 125 \r\n"));

    // The line above the levels follows the highlight, by keys and pointer.
    QFETCH(QString, first);
    QFETCH(QString, second);
    QCOMPARE(moved->BestLine->text(), first);
    QTest::keyClick(moved, Qt::Key_Down);
    QCOMPARE(moved->BestLine->text(), second);
    // No run is kept beside these bests, so none can be watched.
    QVERIFY(!moved->WatchButton->isEnabled());
    QCOMPARE(QAccessible::queryAccessibleInterface(moved->Label1.at(1))->text(QAccessible::Description), second);
    // From where the pointer rested to the first level.
    QTest::mouseMove(moved->Label1.at(3));
    QTest::mouseMove(moved->Label1.at(0));
    QCOMPARE(moved->BestLine->text(), first);
    QTest::keyClick(moved, Qt::Key_Up);
    QCOMPARE(moved->BestLine->text(), QString());
    QVERIFY(!moved->WatchButton->isEnabled() && !moved->WayButton->isEnabled());
}

void TestLevelSelection::bestResultsListEveryLevelAndTheTotal()
{
    m_dir->write("Best.Log", BestResults::content({{1, {28, 1400}}, {2, {1, 3200}}, {20, {9, 100}}}));
    Start_Level *selection = open();
    QVERIFY(QTest::qWaitForWindowActive(selection));
    QTest::keyClick(selection, Qt::Key_B);
    BestTable *best = selection->bestTable();
    QVERIFY(best && best->isVisible());
    const QTableWidget *table = best->table();
    QCOMPARE(table->rowCount(), 21);
    const auto row = [table](int index) {
        return QStringList{table->item(index, 0)->text(), table->item(index, 1)->text(), table->item(index, 2)->text()};
    };
    QCOMPARE(row(0), (QStringList{"Level 1", "28", "1400"}));
    QCOMPARE(row(2), (QStringList{"Level 3", "\u2013", "\u2013"}));
    QCOMPARE(row(19), (QStringList{"Level 20", "9", "100"}));
    QCOMPARE(row(BestTable::TotalRow), (QStringList{"Total, 3 levels", "38", "4700"}));

    QTRY_COMPARE(QApplication::activeWindow(), best);
    QTest::keyClick(best->table(), Qt::Key_Escape);
    QVERIFY(!best->isVisible());
    QCOMPARE(visibleWindows(), QStringList{"Start From Level:"});
}

void TestLevelSelection::watchAndWayAskForTheHighlightedLevel_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<Qt::Key>("key"); // or a click on the button when none
    QTest::addColumn<bool>("runKept");  // the highlighted level's best run is kept
    QTest::addColumn<QString>("shown"); // the mark over the watched board; empty for none

    QTest::newRow("W on a level with its run") << 1 << Qt::Key_W << true << "Your best on level 2, played again";
    QTest::newRow("W on a best without its run") << 1 << Qt::Key_W << false << "";
    QTest::newRow("S on a level") << 2 << Qt::Key_S << false << "A way through level 3 at 4.5 moves a second";
    QTest::newRow("S on Go Back") << 20 << Qt::Key_S << false << "";
    QTest::newRow("click on Show me a way") << 0 << Qt::Key_unknown << false
                                            << "A way through level 1 at 4 moves a second";
}

void TestLevelSelection::watchAndWayAskForTheHighlightedLevel()
{
    QFETCH(int, item);
    QFETCH(Qt::Key, key);
    QFETCH(bool, runKept);
    QFETCH(QString, shown);

    m_dir->write("LGT.Log", " 250 \r\n");
    m_dir->write("Best.Log", BestResults::content({{1, {28, 1400}}, {2, {1, 3200}}}));
    if (runKept)
        QVERIFY(LevelReplay::way(LevelTable::slot(item)).run->write(LevelRun::path(item + 1)));
    const QByteArray progress = m_dir->read("LGT.Log");
    Start_Level *selection = open();
    QVERIFY(QTest::qWaitForWindowActive(selection));
    selection->focus(item);
    if (key == Qt::Key_unknown)
        QTest::mouseClick(selection->WayButton, Qt::LeftButton);
    else
        QTest::keyClick(selection, key);
    if (shown.isEmpty()) {
        QCOMPARE(visibleWindows(), QStringList{"Start From Level:"});
        return;
    }
    const QPointer<Game_Screen> screen = qobject_cast<Game_Screen *>(m_forms->loaded(FormId::GameScreen));
    QVERIFY(screen && screen->isWatching() && screen->isVisible() && !selection->isVisible());
    QVERIFY(screen->cover()->strip().startsWith(shown));
    // The run plays by itself, and a key ends it where it was asked for.
    const QPoint start(screen->Image3().left, screen->Image3().top);
    QTRY_VERIFY(QPoint(screen->Image3().left, screen->Image3().top) != start);
    QTest::keyClick(screen, Qt::Key_Space);
    QTRY_VERIFY(!screen);
    QCOMPARE(visibleWindows(), QStringList{"Start From Level:"});
    // Watching is no play: nothing of the player's is written.
    QCOMPARE(m_dir->read("LGT.Log"), progress);
}

QTEST_MAIN(TestLevelSelection)
#include "tst_levelselection.moc"
