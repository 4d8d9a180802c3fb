// SPDX-License-Identifier: GPL-3.0-or-later
#include "Arrow.h"
#include "Forms.h"
#include "Game_Screen.h"
#include "LevelCheck.h"
#include "LevelDifficulty.h"
#include "LevelMap.h"
#include "LevelPlay.h"
#include "LevelSolver.h"
#include "LevelTable.h"
#include "ScratchDir.h"
#include "Twips.h"
#include "VirtualKey.h"

#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <cmath>

// The route solver on small boards whose best route is known, and the route
// it finds for every built-in level played key by key on the play screen.
class TestLevelRoutes : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void shortestRouteOnSmallBoards_data();
    void shortestRouteOnSmallBoards();
    void boundMeetsTheRouteOnBigBoards_data();
    void boundMeetsTheRouteOnBigBoards();
    void deadEndsAreCounted_data();
    void deadEndsAreCounted();
    void whatCannotBeReachedIsNamed_data();
    void whatCannotBeReachedIsNamed();
    void clockIsFetchedWhenTheTimeIsShort_data();
    void clockIsFetchedWhenTheTimeIsShort();
    void stoppedSolveGivesNothing();
    void tickFallingWithTheLastMoveComesFirst();
    void timeThatNeverRunsOutAsksForNoPace_data();
    void timeThatNeverRunsOutAsksForNoPace();
    void playMovesAsTheGameDoes();
    void routeFinishesTheLevelOnThePlayScreen_data();
    void routeFinishesTheLevelOnThePlayScreen();

private:
    std::unique_ptr<ScratchDir> m_dir;
    std::unique_ptr<Forms> m_forms;
};

namespace {

// A board as its map rows, the figure starting on the given cell.
LevelRecord board(const QStringList &rows, const QPoint &start, const QString &time = QStringLiteral("30"))
{
    return LevelRecord{QStringLiteral("Board"), time, 0, QString::number(start.x() * 480),
                       QString::number(start.y() * 480), rows};
}

int keyCode(QChar key)
{
    return Arrow::keyCode(*Arrow::ofLetter(key));
}

} // namespace

void TestLevelRoutes::init()
{
    m_dir = std::make_unique<ScratchDir>();
    m_forms = std::make_unique<Forms>();
}

void TestLevelRoutes::cleanup()
{
    m_forms.reset();
    m_dir.reset();
}

void TestLevelRoutes::shortestRouteOnSmallBoards_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<QString>("keys");
    QTest::newRow("straight on") << QStringList{"111111", "100341", "111111"} << QPoint(1, 1) << "RRR";
    QTest::newRow("back for the banknote first") << QStringList{"1111111", "1300041", "1111111"} << QPoint(2, 1)
                                                 << "LRRRR";
    QTest::newRow("banknote under the start") << QStringList{"11111", "13041", "11111"} << QPoint(1, 1) << "RLRR";
    QTest::newRow("the nearer of two exits") << QStringList{"1111111111", "1400300041", "1111111111"}
                                             << QPoint(3, 1) << "RLLL";
    QTest::newRow("round the wall") << QStringList{"11111", "10701", "10101", "10041", "11111"} << QPoint(1, 3)
                                    << "UURRDD";
    QTest::newRow("exit open from the start") << QStringList{"11111", "10041", "11111"} << QPoint(1, 1) << "RR";
}

void TestLevelRoutes::shortestRouteOnSmallBoards()
{
    QFETCH(QStringList, rows);
    QFETCH(QPoint, start);
    QFETCH(QString, keys);
    const LevelMap map(board(rows, start));
    LevelSolver solver(map);
    const auto route = solver.solve();
    QVERIFY2(route, qPrintable(LevelCheck::problems(map, solver.obstacles()).join(u'\n')));
    QCOMPARE(route->keys, keys);
    QVERIFY(route->shortest);
    QCOMPARE(route->lowerBound, int(keys.size()));
    QCOMPARE(route->clocks, 0);
}

void TestLevelRoutes::boundMeetsTheRouteOnBigBoards_data()
{
    // More banknotes than are solved exactly, on boards whose shortest way
    // is plain: the lower bound has to climb all the way to it.
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("moves");
    const QString wall(40, u'1');
    QTest::newRow("a row of twenty") << QStringList{wall, "10" + QString(20, u'3') + "41", wall} << 21;
    QString teeth = "1";
    for (int tooth = 0; tooth < 18; ++tooth)
        teeth += "31";
    // Thirty-five steps along, into each of the eighteen teeth and out, and
    // the push.
    QTest::newRow("a comb of eighteen") << QStringList{wall, "1" + QString(36, u'0') + "41", teeth, wall} << 72;
}

void TestLevelRoutes::boundMeetsTheRouteOnBigBoards()
{
    QFETCH(QStringList, rows);
    QFETCH(int, moves);
    const LevelMap map(board(rows, QPoint(1, 1)));
    QVERIFY(map.collectibles().size() > LevelSolver::ExactPoints);
    const auto route = LevelSolver(map).solve();
    QVERIFY(route);
    QCOMPARE(route->lowerBound, moves);
    QCOMPARE(int(route->keys.size()), moves);
    QVERIFY(route->shortest);
}

void TestLevelRoutes::deadEndsAreCounted_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<int>("deadEnds");
    QTest::newRow("banknote on a loop") << QStringList{"1111111", "1000001", "1011101", "1000301", "1111141"}
                                        << QPoint(1, 1) << 0;
    QTest::newRow("banknote on the way to the exit") << QStringList{"1111111", "1000341", "1111111"} << QPoint(1, 1)
                                                     << 0;
    QTest::newRow("banknote behind the start") << QStringList{"1111111", "1300041", "1111111"} << QPoint(2, 1) << 1;
    QTest::newRow("the start's own pocket") << QStringList{"1111111", "1030001", "1110111", "1000041", "1111111"}
                                            << QPoint(1, 1) << 0;
    QTest::newRow("room behind a door") << QStringList{"1111111", "1300311", "1300011", "1110111", "1000041", "1111111"}
                                        << QPoint(1, 4) << 1;
    // The fourth tooth leads to the exit.
    QTest::newRow("three teeth") << QStringList{"111111111", "131313131", "101010101", "100000041", "111111111"}
                                 << QPoint(1, 3) << 3;
}

void TestLevelRoutes::deadEndsAreCounted()
{
    QFETCH(QStringList, rows);
    QFETCH(QPoint, start);
    QFETCH(int, deadEnds);
    QCOMPARE(LevelDifficulty::countDeadEnds(LevelMap(board(rows, start))), deadEnds);
}

void TestLevelRoutes::whatCannotBeReachedIsNamed_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("startX");
    QTest::addColumn<QStringList>("problems");
    QTest::newRow("walled-in diamond and banknote") << QStringList{"1111111", "1001711", "1041131", "1111111"} << "480"
                                                    << QStringList{"the diamond in row 2, column 5 cannot be reached",
                                                                   "the banknote in row 3, column 6 cannot be reached"};
    QTest::newRow("no exit") << QStringList{"1111", "1031", "1111"} << "480"
                             << QStringList{"the level has no exit"};
    QTest::newRow("exit behind a wall") << QStringList{"11111", "10314", "11111"} << "480"
                                        << QStringList{"no exit stands next to a cell the figure can reach"};
    QTest::newRow("start on a wall between banknote and exit")
        << QStringList{"1111111", "1301041", "1111111"} << "1440"
        << QStringList{"the figure starts on a tile it cannot step back onto, which parts what is to be collected "
                       "from the exit"};
    QTest::newRow("start far off the map") << QStringList{"1111", "1341", "1111"} << "-4800"
                                           << QStringList{"the banknote in row 2, column 2 cannot be reached",
                                                          "no exit stands next to a cell the figure can reach"};
    QTest::newRow("start between cells") << QStringList{"1111", "1041", "1111"} << "500"
                                         << QStringList{"the start is not on a cell of the map, so the figure "
                                                        "cannot move"};
}

void TestLevelRoutes::whatCannotBeReachedIsNamed()
{
    QFETCH(QStringList, rows);
    QFETCH(QString, startX);
    QFETCH(QStringList, problems);
    LevelRecord level = board(rows, QPoint(1, 1));
    level.locationX = startX;
    const LevelMap map(level);
    LevelSolver solver(map);
    QVERIFY(!solver.solve());
    QCOMPARE(LevelCheck::problems(map, solver.obstacles()), problems);
}

void TestLevelRoutes::clockIsFetchedWhenTheTimeIsShort_data()
{
    // Nineteen or more moves to the exit in 2 seconds is more than anyone can
    // do; the clock below the start buys 15 more for a step down and back.
    // Beyond sixteen banknotes the route with the clock is no longer worked
    // out exactly but fitted into the route without it.
    QTest::addColumn<QString>("corridor");
    QTest::addColumn<int>("straightMoves");
    QTest::newRow("empty corridor") << "1" + QString(18, u'0') + "41" << 18;
    QTest::newRow("twenty banknotes") << "10" + QString(20, u'3') + "41" << 21;
}

void TestLevelRoutes::clockIsFetchedWhenTheTimeIsShort()
{
    QFETCH(QString, corridor);
    QFETCH(int, straightMoves);
    const QString wall(corridor.size(), u'1');
    const QString below = "1841" + QString(corridor.size() - 4, u'1');
    const LevelMap map(board({wall, corridor, below, wall}, QPoint(1, 1), "2"));
    LevelSolver solver(map);
    const auto route = solver.solve();
    QVERIFY(route);
    QCOMPARE(route->clocks, 1);
    QVERIFY(route->keys.startsWith(QStringLiteral("DU")));
    QVERIFY(route->pace < 2);

    const Playthrough straight = LevelSolver::play(map, QString(straightMoves, u'R'));
    QVERIFY(straight.leftThroughExit);
    QCOMPARE(straight.cashLeft, 0);
    QVERIFY(LevelSolver::slowestPace(map, straight) > 8);
}

void TestLevelRoutes::stoppedSolveGivesNothing()
{
    // A caller that has given up gets neither a route nor a reason against
    // the level; once the flag is down again the same solver finds the route.
    const LevelMap map(board({QString(24, u'1'), "10" + QString(20, u'3') + "41", QString(24, u'1')}, QPoint(1, 1)));
    std::atomic_bool stop = true;
    LevelSolver solver(map);
    solver.setStopFlag(&stop);
    QVERIFY(!solver.solve());
    QVERIFY(solver.stopped());
    QVERIFY(solver.obstacles().isEmpty());
    stop = false;
    const auto route = solver.solve();
    QVERIFY(route);
    QVERIFY(!solver.stopped());
    QCOMPARE(int(route->keys.size()), 21);
}

void TestLevelRoutes::tickFallingWithTheLastMoveComesFirst()
{
    // Eleven moves in 5 seconds: at 2 a second the last one falls together
    // with the tick that ends the time.
    const LevelMap map(board({"11111111111111", "10000000000041", "11111111111111"}, QPoint(1, 1), "5"));
    const Playthrough playthrough = LevelSolver::play(map, QString(12, u'R'));
    QVERIFY(playthrough.leftThroughExit);
    QCOMPARE(playthrough.keysUsed, 11);
    QVERIFY(!LevelSolver::inTime(map, playthrough, 2));
    QVERIFY(LevelSolver::inTime(map, playthrough, 2.01));
    QVERIFY(std::abs(LevelSolver::slowestPace(map, playthrough) - 2) < 0.001);
}

void TestLevelRoutes::timeThatNeverRunsOutAsksForNoPace_data()
{
    QTest::addColumn<QString>("time");
    QTest::newRow("zero runs below it") << "0";
    QTest::newRow("halves never meet zero") << "2.5";
    QTest::newRow("no number reads as zero") << "soon";
}

void TestLevelRoutes::timeThatNeverRunsOutAsksForNoPace()
{
    QFETCH(QString, time);
    const LevelMap map(board({"1111111", "1003041", "1111111"}, QPoint(1, 1), time));
    LevelSolver solver(map);
    const auto route = solver.solve();
    QVERIFY(route);
    QCOMPARE(route->pace, 0.0);
}

void TestLevelRoutes::playMovesAsTheGameDoes()
{
    // Walls stop the figure; the banknote opens the exit beside it.
    const LevelMap walls(board({"11111", "10341", "11111"}, QPoint(1, 1)));
    Playthrough playthrough = LevelSolver::play(walls, "UDL");
    QVERIFY(!playthrough.leftThroughExit);
    QCOMPARE(playthrough.cashLeft, 1);
    playthrough = LevelSolver::play(walls, "UDLRR");
    QVERIFY(playthrough.leftThroughExit);
    QCOMPARE(playthrough.keysUsed, 5);

    // The exit stays shut while banknotes are left.
    const LevelMap shut(board({"1111111", "1330341", "1111111"}, QPoint(3, 1)));
    playthrough = LevelSolver::play(shut, "RR");
    QVERIFY(!playthrough.leftThroughExit);
    QCOMPARE(playthrough.cashLeft, 2);
    playthrough = LevelSolver::play(shut, "RRLLLRRRR");
    QVERIFY(playthrough.leftThroughExit);
    QCOMPARE(playthrough.keysUsed, 9);

    const LevelMap withClock(board({"111111", "108441", "111111"}, QPoint(1, 1)));
    playthrough = LevelSolver::play(withClock, "RRR");
    QCOMPARE(playthrough.clockKeys, QList<int>{0});
    QCOMPARE(playthrough.keysUsed, 2);
}

void TestLevelRoutes::routeFinishesTheLevelOnThePlayScreen_data()
{
    QTest::addColumn<int>("level");
    for (int level = 1; level <= LevelTable::BuiltInLevels; ++level)
        QTest::newRow(qPrintable(QStringLiteral("level %1").arg(level))) << level;
}

void TestLevelRoutes::routeFinishesTheLevelOnThePlayScreen()
{
    QFETCH(int, level);
    const int slot = level - 1;
    const LevelMap map(LevelTable::slot(slot));
    LevelSolver solver(map);
    const auto route = solver.solve();
    QVERIFY(route);

    Game_Screen *screen = m_forms->get<Game_Screen>();
    screen->Label2->setText(QString::number(level));
    screen->loadscreen(slot);
    // The solver's model and the play screen side by side, key by key.
    LevelPlay model(map);
    const QString keys = route->keys.chopped(1);
    for (const QChar key : keys) {
        model.press(*Arrow::ofLetter(key));
        screen->Form_KeyDown(keyCode(key), 0);
        QVERIFY(model.figure());
        QCOMPARE(QPoint(screen->Image3().left, screen->Image3().top), *model.figure() * Twips::Cell);
        QCOMPARE(screen->Label4->text(), QString::number(model.score()));
        QCOMPARE(screen->Cash->text(), QString::number(model.cashLeft()));
        QCOMPARE(screen->Label5->text().toDouble(), model.timeLeft());
        QCOMPARE(screen->backColor() == QColor(Qt::white), model.isLit());
    }
    QCOMPARE(screen->Cash->text(), QStringLiteral("0"));
    QCOMPARE(screen->Label2->text(), QString::number(level));

    const int push = keyCode(route->keys.back());
    if (level < LevelTable::BuiltInLevels) {
        screen->Form_KeyDown(push, 0);
        const LevelRecord next = LevelTable::slot(slot + 1);
        QCOMPARE(screen->Label2->text(), QString::number(level + 1));
        QCOMPARE(screen->Cash->text(), QString::number(LevelMap(next).collectibles().size()));
        QCOMPARE(screen->Image3().left, next.locationX.toInt());
        QCOMPARE(screen->Image3().top, next.locationY.toInt());
        return;
    }

    // The last exit starts the end-of-game display; closing the play screen
    // cuts it short.
    const QPointer<Game_Screen> guard(screen);
    screen->Form_KeyDown(push, 0);
    QVERIFY(screen->isFinishing());
    m_forms->unload(FormId::GameScreen);
    QTRY_VERIFY(!guard);
}

QTEST_MAIN(TestLevelRoutes)
#include "tst_levelroutes.moc"
