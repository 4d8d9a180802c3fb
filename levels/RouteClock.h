// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LevelMap.h"
#include "LevelSolver.h"

#include <optional>

// A route's keys against the level clock, as a player pressing them at a
// steady pace meets it: the first key starts the clock, every later key
// falls at its time of play, the clock ticks whole seconds by the game's own
// rules and each clock taken adds its seconds. A tick due at the very moment
// of a key comes first, as the slower of the two outcomes.
class RouteClock
{
public:
    // The count on the clock as a player making one move every 1/pace
    // seconds leaves through the exit; nothing when the count reaches 0
    // first, or the keys never leave. Once the count stands at 0 or below
    // with no clock left to take, it never meets 0 again and only falls:
    // a whole count is then followed to the exit, any other given as it
    // stood.
    static std::optional<double> timeLeftAtExit(const LevelMap &map, const Playthrough &playthrough, double pace);
    static bool inTime(const LevelMap &map, const Playthrough &playthrough, double pace)
    {
        return timeLeftAtExit(map, playthrough, pace).has_value();
    }
    // The slowest pace that is in time; 0 when any pace is, infinity when
    // none is.
    static double slowestPace(const LevelMap &map, const Playthrough &playthrough);

    // The time limit in whole seconds when the clock counts down in whole
    // seconds whatever clocks are taken, from at least one: a route is then
    // in time exactly when it never lets the count reach 0, and taking a
    // clock sooner or making fewer moves never makes it later. The proofs
    // that no route is in time rest on that.
    static std::optional<double> wholeTimeLimit(const LevelMap &map);
    // The most moves a player making one move every 1/pace seconds can make
    // with every key falling before the clock has ticked whole seconds
    // times, the first key starting it.
    static int latestMoves(double seconds, double pace);
};
