// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelDifficulty.h"

#include "Arrow.h"
#include "TileCodes.h"
#include "TileRule.h"

#include <QSet>

#include <algorithm>
#include <cmath>
#include <utility>

LevelDifficulty::LevelDifficulty(const LevelMap &map, const Route &route)
    : m_pace(route.pace)
    , m_deadEnds(countDeadEnds(map))
{
    // A route that is in time at any pace never sees the time run out.
    if (route.pace == 0)
        return;
    // The first key starts the clock, so a route of n moves takes n - 1
    // steps' time.
    const double used = double(std::max(qsizetype(0), route.keys.size() - 1)) / LevelSolver::HumanPace;
    const double budget = map.timeLimit() + route.clocks * TileRule::of(TileCodes::Clock).seconds;
    if (budget > 0)
        m_spare = std::max(0.0, (budget - used) / budget);
}

int LevelDifficulty::countDeadEnds(const LevelMap &map)
{
    if (!map.start())
        return 0;
    // One ring of wall round the codes, as the solver has, so that a start
    // just outside them is still a cell.
    const int width = map.columns() + 2;
    const int height = map.rows() + 2;
    const QPoint start = *map.start();
    const auto indexOf = [&](const QPoint &cell) {
        const int x = cell.x() + 1;
        const int y = cell.y() + 1;
        return x < 0 || y < 0 || x >= width || y >= height ? -1 : y * width + x;
    };
    const auto cellAt = [width](int index) { return QPoint(index % width - 1, index / width - 1); };
    const auto open = [&](const QPoint &cell) { return indexOf(cell) >= 0 && (cell == start || map.isWalkable(cell)); };
    if (indexOf(start) < 0)
        return 0;

    const int cells = width * height;
    QList<bool> cash(cells, false);
    for (const QPoint &cell : map.collectibles())
        cash[indexOf(cell)] = true;
    QList<bool> besideExit(cells, false);
    for (const QPoint &exit : map.exits()) {
        for (const Arrow::Direction arrow : Arrow::All) {
            const QPoint beside = exit + Arrow::step(arrow);
            if (open(beside))
                besideExit[indexOf(beside)] = true;
        }
    }

    // A depth-first walk from the start. A stretch hangs on a single cell
    // where the walk steps across a link no other way round leads back over;
    // what the walk finds below that step is the stretch. Counting cash and
    // exit sides in the order the walk finds them makes each stretch's share
    // a run of those counts, so stretches holding the same cash are one
    // stretch however long the corridor into it.
    QList<int> found(cells, -1);
    QList<int> low(cells, 0);
    QList<int> cashBefore(cells, 0);
    QList<int> exitsBefore(cells, 0);
    int order = 0;
    int cashFound = 0;
    int exitsFound = 0;
    QSet<std::pair<int, int>> deadEnds;
    struct Visit
    {
        int cell;
        int from;
        int nextKey;
    };
    QList<Visit> walk;
    const auto enter = [&](int cell, int from) {
        found[cell] = low[cell] = order++;
        cashBefore[cell] = cashFound;
        exitsBefore[cell] = exitsFound;
        cashFound += cash.at(cell);
        exitsFound += besideExit.at(cell);
        walk.append({cell, from, 0});
    };
    enter(indexOf(start), -1);
    while (!walk.isEmpty()) {
        Visit &visit = walk.last();
        if (visit.nextKey < int(Arrow::All.size())) {
            const QPoint next = cellAt(visit.cell) + Arrow::step(Arrow::All.at(std::size_t(visit.nextKey++)));
            if (!open(next))
                continue;
            const int there = indexOf(next);
            if (found.at(there) < 0)
                enter(there, visit.cell);
            else if (there != visit.from)
                low[visit.cell] = std::min(low.at(visit.cell), found.at(there));
            continue;
        }
        const Visit done = walk.takeLast();
        if (done.from < 0)
            continue;
        low[done.from] = std::min(low.at(done.from), low.at(done.cell));
        const bool hangs = low.at(done.cell) > found.at(done.from);
        const bool holdsCash = cashFound > cashBefore.at(done.cell);
        const bool holdsExit = exitsFound > exitsBefore.at(done.cell);
        if (hangs && holdsCash && !holdsExit)
            deadEnds.insert({cashBefore.at(done.cell), cashFound});
    }
    // A stretch that leads on to smaller ones is only the way into them: the
    // dead ends are the stretches that hold no other.
    const auto holdsAnother = [&deadEnds](const std::pair<int, int> &outer) {
        return std::any_of(deadEnds.cbegin(), deadEnds.cend(), [&outer](const std::pair<int, int> &inner) {
            return inner != outer && inner.first >= outer.first && inner.second <= outer.second;
        });
    };
    return int(std::count_if(deadEnds.cbegin(), deadEnds.cend(), [&](const auto &end) { return !holdsAnother(end); }));
}
