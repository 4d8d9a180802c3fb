// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelCheck.h"
#include "LevelMap.h"
#include "LevelSolver.h"
#include "LevelTable.h"
#include "TileCodes.h"

#include <QHash>
#include <QSet>
#include <QTest>

#include <algorithm>

using Cells = QList<QPoint>;
using Codes = QList<int>;

// The twenty built-in levels against the table they are drawn to: start and
// exits, screen cash, the set of tiles used, the form of their rows, and that
// each can be won in its time at the pace a level may ask.
class TestBuiltInLevels : public QObject
{
    Q_OBJECT

private slots:
    void levelMatchesItsTable_data();
    void levelMatchesItsTable();
    void rowsHaveTheFormOfTheirLevel_data();
    void rowsHaveTheFormOfTheirLevel();
    void levelCanBeWonInItsTime_data();
    void levelCanBeWonInItsTime();
    void clocksAndLightBulbsStandWhereTheyBelong();
    void paceRisesFromLevelToLevel_data();
    void paceRisesFromLevelToLevel();
};

namespace {

struct Expected
{
    int level;
    QPoint start;
    Cells exits;
    int cash;
    Codes codes;
};

const QList<Expected> &table()
{
    static const QList<Expected> levels{
        {1, {1, 1}, {{3, 14}}, 14, {0, 1, 3, 4}},
        {2, {1, 1}, {{14, 12}}, 32, {0, 1, 2, 3, 4}},
        {3, {3, 3}, {{14, 15}}, 42, {0, 1, 2, 4, 7}},
        {4, {1, 1}, {{0, 0}, {15, 0}, {0, 8}, {0, 15}, {15, 15}}, 28, {0, 1, 3, 4}},
        {5, {12, 13}, {{11, 12}}, 33, {0, 2, 4, 7}},
        {6, {14, 1}, {{14, 14}}, 30, {0, 1, 2, 4, 7}},
        {7, {1, 3}, {{0, 13}}, 35, {0, 1, 3, 4, 6, 7}},
        {8, {3, 3}, {{11, 14}}, 41, {0, 1, 3, 4, 7, 80, 82, 85}},
        {9, {13, 1}, {{14, 14}}, 33, {0, 4, 7, 81, 83}},
        {10, {14, 1}, {{14, 14}}, 12, {0, 3, 4, 5, 80, 82, 87}},
        {11, {14, 2}, {{15, 12}}, 40, {0, 4, 5, 7, 82, 84, 85}},
        {12, {14, 3}, {{13, 14}}, 41, {0, 2, 3, 4, 6}},
        {13, {14, 14}, {{1, 8}}, 85, {0, 4, 7, 81, 84}},
        {14, {14, 7}, {{14, 13}}, 83, {0, 3, 4, 80}},
        {15, {2, 14}, {{1, 14}}, 121, {0, 3, 4, 7, 80}},
        {16, {5, 11}, {{5, 12}}, 30, {0, 1, 3, 4}},
        {17, {1, 9}, {{1, 14}}, 51, {0, 4, 7, 88}},
        {18, {7, 9}, {{10, 13}}, 41, {0, 4, 7, 86}},
        {19, {13, 14}, {{14, 14}}, 53, {0, 3, 4, 83}},
        {20, {11, 14}, {{14, 10}}, 62, {0, 4, 7, 85}},
    };
    return levels;
}

// The levels drawn with one-character codes only; every other level frames
// its map with two-character ones.
const QSet<int> OneCharacterLevels{1, 2, 3, 4, 5, 6, 7, 12, 16};

void addLevelRows()
{
    QTest::addColumn<int>("level");
    for (int level = 1; level <= LevelTable::BuiltInLevels; ++level)
        QTest::newRow(qPrintable(QStringLiteral("level %1").arg(level))) << level;
}

Codes codesOf(const LevelMap &map)
{
    QSet<int> used;
    for (int row = 0; row < map.rows(); ++row) {
        for (int column = 0; column < map.columns(); ++column) {
            if (!map.text(QPoint(column, row)).isEmpty())
                used.insert(map.code(QPoint(column, row)));
        }
    }
    Codes codes(used.cbegin(), used.cend());
    std::sort(codes.begin(), codes.end());
    return codes;
}

// Each level's route, found once for all the rows that compare levels.
const Route &routeOf(int level)
{
    static QHash<int, Route> routes;
    if (!routes.contains(level)) {
        const LevelMap map(LevelTable::slot(level - 1));
        routes.insert(level, LevelSolver(map).solve().value_or(Route{}));
    }
    return routes[level];
}

} // namespace

void TestBuiltInLevels::levelMatchesItsTable_data()
{
    addLevelRows();
}

void TestBuiltInLevels::levelMatchesItsTable()
{
    QFETCH(int, level);
    const Expected &expected = table().at(level - 1);
    const LevelMap map(LevelTable::slot(level - 1));
    QCOMPARE(map.start(), std::optional<QPoint>(expected.start));
    QCOMPARE(map.code(expected.start), int(TileCodes::Floor));
    QCOMPARE(map.exits(), expected.exits);
    QCOMPARE(int(map.collectibles().size()), expected.cash);
    QCOMPARE(codesOf(map), expected.codes);
}

void TestBuiltInLevels::rowsHaveTheFormOfTheirLevel_data()
{
    addLevelRows();
}

void TestBuiltInLevels::rowsHaveTheFormOfTheirLevel()
{
    QFETCH(int, level);
    const QStringList rows = LevelTable::slot(level - 1).rows;
    QCOMPARE(rows.size(), 16);
    for (qsizetype row = 0; row < rows.size(); ++row) {
        const QString &text = rows.at(row);
        // Level 13's third row runs one code past the edge, under the panel.
        const qsizetype codes = level == 13 && row == 2 ? 17 : 16;
        QVERIFY2(TileCodes::cutRow(text).size() == codes, qPrintable(text));
        if (OneCharacterLevels.contains(level)) {
            QCOMPARE(text.size(), 16);
        } else {
            QVERIFY2(text.size() >= 18 && text.size() <= 32, qPrintable(text));
            if (row == 0 || row == rows.size() - 1)
                QCOMPARE(text.size(), 32);
        }
    }
    if (level == 8)
        QCOMPARE(rows.at(1), QStringLiteral("82807000000082000082"));
    if (level == 13)
        QCOMPARE(rows.at(2), QStringLiteral("8100000000000000810"));
    if (level == 20)
        QCOMPARE(rows.at(1), QStringLiteral("85700078570078500785"));
}

void TestBuiltInLevels::levelCanBeWonInItsTime_data()
{
    addLevelRows();
}

void TestBuiltInLevels::levelCanBeWonInItsTime()
{
    QFETCH(int, level);
    const LevelMap map(LevelTable::slot(level - 1));
    LevelSolver solver(map);
    const auto route = solver.solve();
    QVERIFY2(route, qPrintable(LevelCheck::problems(map, solver.obstacles()).join(u'\n')));
    QVERIFY2(route->pace > 0 && route->pace <= LevelSolver::HumanPace, qPrintable(QString::number(route->pace)));
    const Playthrough playthrough = LevelSolver::play(map, route->keys);
    QVERIFY(playthrough.leftThroughExit);
    QCOMPARE(playthrough.cashLeft, 0);
    QVERIFY(LevelSolver::inTime(map, playthrough, LevelSolver::HumanPace));
}

void TestBuiltInLevels::clocksAndLightBulbsStandWhereTheyBelong()
{
    QList<int> clocks;
    QList<int> bulbs;
    for (int slot = 0; slot < LevelTable::BuiltInLevels; ++slot) {
        const LevelMap map(LevelTable::slot(slot));
        clocks.append(int(map.clocks().size()));
        int lightBulbs = 0;
        for (int row = 0; row < map.rows(); ++row) {
            for (int column = 0; column < map.columns(); ++column)
                lightBulbs += map.code(QPoint(column, row)) == TileCodes::LightBulb;
        }
        bulbs.append(lightBulbs);
    }
    QList<int> expectedClocks(LevelTable::BuiltInLevels, 0);
    expectedClocks[10] = 2;
    expectedClocks[12] = 1;
    QList<int> expectedBulbs(LevelTable::BuiltInLevels, 0);
    expectedBulbs[9] = 1;
    expectedBulbs[10] = 1;
    QCOMPARE(clocks, expectedClocks);
    QCOMPARE(bulbs, expectedBulbs);
}

void TestBuiltInLevels::paceRisesFromLevelToLevel_data()
{
    addLevelRows();
}

void TestBuiltInLevels::paceRisesFromLevelToLevel()
{
    // The pace is only a fair measure when the route is close to the best
    // there is: within a tenth of the proven lower bound.
    QFETCH(int, level);
    const Route &route = routeOf(level);
    QVERIFY(!route.keys.isEmpty());
    QVERIFY2(route.keys.size() * 10 <= route.lowerBound * 11,
             qPrintable(QStringLiteral("%1 moves, none shorter than %2").arg(route.keys.size()).arg(route.lowerBound)));
    QVERIFY2(route.pace <= 5.5, qPrintable(QString::number(route.pace)));
    if (level > 1) {
        const double before = routeOf(level - 1).pace;
        QVERIFY2(route.pace >= before - 0.25, qPrintable(QStringLiteral("%1 after %2").arg(route.pace).arg(before)));
    }
    if (level == LevelTable::BuiltInLevels) {
        for (int other = 1; other < level; ++other)
            QVERIFY2(route.pace >= routeOf(other).pace, qPrintable(QStringLiteral("level %1 is harder").arg(other)));
    }
}

QTEST_APPLESS_MAIN(TestBuiltInLevels)
#include "tst_builtinlevels.moc"
