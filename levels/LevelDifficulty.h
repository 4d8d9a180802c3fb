// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LevelMap.h"
#include "LevelSolver.h"

#include <optional>

// How hard a level is, in figures a designer can compare from one level to
// the next: the pace its route asks for, the time that route leaves spare,
// and the dead ends it has to walk into and back out of.
class LevelDifficulty
{
public:
    // The route must be one through this map.
    LevelDifficulty(const LevelMap &map, const Route &route);

    // Moves a second the route needs to get out in time; 0 when the time
    // never runs out.
    double pace() const { return m_pace; }
    // The share of the time limit, and of the seconds the route's clocks
    // add, still on the clock, in the whole seconds it counts, when a player
    // walking the route at the pace a level may ask leaves through the exit;
    // 0 when that player runs out of time, nothing when the time never runs
    // out.
    std::optional<double> spare() const { return m_spare; }
    // Separate stretches of floor, reached through a single cell and holding
    // neither the start nor the way into an exit, that hold something to
    // collect: every route has to go in and come back out the same way.
    // Where such a stretch forks into smaller ones, the ends of the fork are
    // counted, not the way to them.
    int deadEnds() const { return m_deadEnds; }

    static int countDeadEnds(const LevelMap &map);

    // The rule the built-in levels keep from one level to the next: a level
    // is at most this much easier than the one before it, and none asks for
    // more than the most a level may ask, the last level being the hardest.
    static constexpr double MostEasing = 0.25;
    static constexpr double MostPace = 5.5;

private:
    double m_pace = 0;
    std::optional<double> m_spare;
    int m_deadEnds = 0;
};
