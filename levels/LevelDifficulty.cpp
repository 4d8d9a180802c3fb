// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelDifficulty.h"

#include "Arrow.h"
#include "LevelGrid.h"
#include "RouteClock.h"

#include <QSet>

#include <algorithm>
#include <numeric>
#include <utility>

LevelDifficulty::LevelDifficulty(const LevelMap &map, const Route &route)
    : m_pace(route.pace)
    , m_deadEnds(countDeadEnds(map))
{
    // A route that is in time at any pace never sees the time run out.
    if (route.pace == 0)
        return;
    // What the clock still shows as the player leaves, in the whole seconds
    // the panel counts, against all the seconds it ever showed.
    const Playthrough playthrough = LevelSolver::play(map, route.keys);
    const std::optional<double> left = RouteClock::timeLeftAtExit(map, playthrough, LevelSolver::HumanPace);
    const double budget = std::accumulate(playthrough.secondsAdded.cbegin(), playthrough.secondsAdded.cend(),
                                          map.timeLimit());
    if (budget > 0)
        m_spare = std::max(0.0, left.value_or(0) / budget);
}

int LevelDifficulty::countDeadEnds(const LevelMap &map)
{
    if (!map.start())
        return 0;
    const LevelGrid grid(map);
    const QPoint start = *map.start();
    const auto open = [&](const QPoint &cell) {
        const int at = grid.index(cell);
        return at >= 0 && (cell == start || grid.isWalkable(at));
    };
    if (grid.index(start) < 0)
        return 0;

    const int cells = grid.size();
    QList<bool> cash(cells, false);
    for (const QPoint &cell : map.collectibles())
        cash[grid.index(cell)] = true;
    QList<bool> besideExit(cells, false);
    for (const QPoint &exit : map.exits()) {
        for (const Arrow::Direction arrow : Arrow::All) {
            const QPoint beside = exit + Arrow::step(arrow);
            if (open(beside))
                besideExit[grid.index(beside)] = true;
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
    enter(grid.index(start), -1);
    while (!walk.isEmpty()) {
        Visit &visit = walk.last();
        if (visit.nextKey < int(Arrow::All.size())) {
            const QPoint next = grid.cellAt(visit.cell) + Arrow::step(Arrow::All.at(std::size_t(visit.nextKey++)));
            if (!open(next))
                continue;
            const int there = grid.index(next);
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
