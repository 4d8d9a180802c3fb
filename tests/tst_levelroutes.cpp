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
#include "RouteClock.h"
#include "ScratchDir.h"
#include "TileCodes.h"
#include "TileRule.h"
#include "Twips.h"
#include "VirtualKey.h"

#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <bit>
#include <cmath>
#include <random>
#include <unordered_set>

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
    void clockShowsWholeTicksAtTheExit_data();
    void clockShowsWholeTicksAtTheExit();
    void timeThatNeverRunsOutAsksForNoPace_data();
    void timeThatNeverRunsOutAsksForNoPace();
    void playMovesAsTheGameDoes();
    void routeFinishesTheLevelOnThePlayScreen_data();
    void routeFinishesTheLevelOnThePlayScreen();
    void verdictHoldsAgainstEveryWayToPlay();

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

// Whether any keys at all, six a second, win the level by the game's rules:
// every state a play can reach, as the figure's twips, the tiles taken, the
// time left as the panel shows it and the key's place in its second. A time
// that can no longer meet 0 is one state, so the search always ends.
bool exactlyWinnable(const LevelMap &map)
{
    QList<QPoint> takeable;
    quint32 cashTiles = 0;
    quint32 clockTiles = 0;
    for (int row = 0; row < map.rows(); ++row) {
        for (int column = 0; column < map.columns(); ++column) {
            const TileRule rule = TileRule::of(map.code({column, row}));
            if (!rule.clears)
                continue;
            cashTiles |= quint32(rule.cash) << takeable.size();
            clockTiles |= quint32(rule.seconds > 0) << takeable.size();
            takeable.append({column, row});
        }
    }
    struct State
    {
        QPoint figure;
        quint32 taken;
        double timeLeft;
        int phase;
        bool operator==(const State &) const = default;
    };
    const auto hash = [](const State &s) { return qHashMulti(0, s.figure, s.taken, s.timeLeft, s.phase); };
    std::unordered_set<State, decltype(hash)> seen(64, hash);
    QList<State> frontier{{map.startTwips(), 0, map.timeLimit(), 0}};
    for (int key = 0; !frontier.isEmpty(); ++key) {
        QList<State> next;
        for (State state : std::as_const(frontier)) {
            if (key > 0 && state.phase == 0) {
                const LevelRules::Tick tick = LevelRules::tick(state.timeLeft);
                if (tick.timeOver)
                    continue;
                state.timeLeft = tick.timeLeft;
            }
            const auto codeAt = [&](int x, int y) {
                if (x % Twips::Cell != 0 || y % Twips::Cell != 0)
                    return int(TileCodes::Wall);
                const QPoint cell = QPoint(x, y) / Twips::Cell;
                const qsizetype at = takeable.indexOf(cell);
                return at >= 0 && (state.taken >> at & 1) ? int(TileCodes::Floor) : map.code(cell);
            };
            const double cash = double(std::popcount(cashTiles & ~state.taken));
            for (const Arrow::Direction arrow : Arrow::All) {
                const LevelRules::Press press = LevelRules::press({state.figure, 0, cash, state.timeLeft}, arrow, codeAt);
                if (press.leaves)
                    return true;
                State after{press.moved ? press.cell : state.figure, state.taken,
                            press.timeLeft.value_or(state.timeLeft), (state.phase + 1) % 6};
                if (press.takesTile)
                    after.taken |= 1u << takeable.indexOf(press.cell / Twips::Cell);
                const double t = after.timeLeft;
                const int clocksLeft = std::popcount(clockTiles & ~after.taken);
                const bool never = t == std::floor(t) ? t + 15 * clocksLeft <= 0
                                                      : std::abs(t) < 1e5 && std::abs(t - std::round(t)) > 1e-9;
                if (never)
                    after = {after.figure, after.taken, -1, 1};
                if (seen.insert(after).second)
                    next.append(after);
            }
        }
        frontier = next;
    }
    return false;
}

// A small level drawn by the seed: walls round a room, or a thin map wider
// than the figure can walk, with up to 8 banknotes and diamonds, up to 6
// clocks, light bulbs, tiles of every kind and every sort of time limit.
LevelRecord randomLevel(std::mt19937 &draw)
{
    const auto pick = [&draw](int from, int to) { return std::uniform_int_distribution<int>(from, to)(draw); };
    const bool wide = pick(0, 7) == 0;
    const int width = wide ? pick(70, 76) : pick(3, 8);
    const int height = wide ? 1 : pick(2, 6);
    const QStringList others{"2", "5", "6", "80", "81", "82", "83", "85", "86", "87", "88", "90"};
    int items = pick(0, 8);
    int clocks = pick(0, 6);
    QStringList rows{QString(width + 2, u'1')};
    QList<QPoint> floor;
    for (int y = 1; y <= height; ++y) {
        QString row = QStringLiteral("1");
        for (int x = 1; x <= width; ++x) {
            const int roll = pick(0, 99);
            const bool far = wide && x < 55;
            QString code = roll < 55 || far ? QStringLiteral("0") : roll < 72 ? QStringLiteral("1") : roll < 95 ? QString() : others.at(pick(0, 11));
            if (code.isEmpty()) {
                const int kind = pick(0, 9);
                code = kind < 3 && items-- > 0 ? QStringLiteral("3") : kind < 5 && items-- > 0 ? QStringLiteral("7")
                       : kind < 7 && clocks-- > 0 ? QStringLiteral("84") : kind == 7 ? QStringLiteral("4") : QStringLiteral("0");
            }
            if (code == u'0')
                floor.append({x, y});
            row += code;
        }
        rows.append(row + u'4');
    }
    rows.append(QString(width + 2, u'1'));
    const QStringList times{"0", "-3", "2.5", "3.0000000000000004", "2.000000000000001"};
    const QString time = pick(0, 2) == 0 ? times.at(pick(0, 4)) : QString::number(pick(1, 6));
    const QPoint start = floor.isEmpty() ? QPoint(1, 1) : floor.at(pick(0, int(floor.size()) - 1));
    return board(rows, start, time);
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
    // The 16-bit positions keep the figure out of the 70th column, so the way
    // round through it is no way at all.
    const QString wall(72, u'1');
    QTest::newRow("the long way round column 70")
        << QStringList{wall, QString(65, u'1') + "0000001", QString(65, u'1') + "0111011",
                       QString(64, u'1') + "40003011", wall}
        << QPoint(68, 1) << "LLLDDRRRLLLL";
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

void TestLevelRoutes::clockShowsWholeTicksAtTheExit_data()
{
    // Seven keys right: the third takes the clock, the seventh leaves. -1
    // stands for a count that reaches 0 on the way.
    QTest::addColumn<QString>("time");
    QTest::addColumn<double>("pace");
    QTest::addColumn<double>("left");
    QTest::newRow("the tick at the clock's key comes first") << "2" << 1.0 << -1.0;
    QTest::newRow("the clock just before the tick") << "2" << 1.01 << 12.0;
    QTest::newRow("the tick at the exit key counts") << "2" << 6.0 << 16.0;
    QTest::newRow("a hair off whole is whole after a tick") << "3.0000000000000004" << 1.01 << 13.0;
}

void TestLevelRoutes::clockShowsWholeTicksAtTheExit()
{
    QFETCH(QString, time);
    QFETCH(double, pace);
    QFETCH(double, left);
    const LevelMap map(board({"1111111111", "10008400041", "1111111111"}, QPoint(1, 1), time));
    const Playthrough playthrough = LevelSolver::play(map, QString(7, u'R'));
    QVERIFY(playthrough.leftThroughExit);
    QCOMPARE(playthrough.clockKeys, QList<int>{2});
    QCOMPARE(RouteClock::timeLeftAtExit(map, playthrough, pace).value_or(-1), left);
    QCOMPARE(LevelSolver::inTime(map, playthrough, pace), left >= 0);
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

void TestLevelRoutes::verdictHoldsAgainstEveryWayToPlay()
{
    // The checker's word against the game's rules played out in full: never
    // winnable where no play wins at six keys a second, never lost where one
    // does.
    std::mt19937 draw(28);
    int undecided = 0;
    constexpr int Levels = 3000;
    for (int i = 0; i < Levels; ++i) {
        const LevelRecord level = randomLevel(draw);
        const LevelCheck check(level);
        const bool wins = exactlyWinnable(LevelMap(level));
        const QString shown = level.time + u'\n' + level.locationX + u' ' + level.locationY + u'\n' + level.rows.join(u'\n');
        undecided += check.verdict() == LevelCheck::Verdict::Undecided;
        if (check.verdict() != LevelCheck::Verdict::Undecided)
            QVERIFY2(check.winnable() == wins, qPrintable(check.sentence() + u'\n' + shown));
    }
    // Small levels are settled exactly; the search declines to judge hardly
    // any of them.
    QVERIFY2(undecided * 100 <= Levels, qPrintable(QString::number(undecided)));
}

QTEST_MAIN(TestLevelRoutes)
#include "tst_levelroutes.moc"
