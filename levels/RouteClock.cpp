// SPDX-License-Identifier: GPL-3.0-or-later
#include "RouteClock.h"

#include "LevelClock.h"
#include "LevelGrid.h"
#include "LevelRules.h"
#include "TileCodes.h"
#include "TileRule.h"

#include <cmath>
#include <limits>

namespace {

// A count the play screen's captions hold exactly, in whole seconds.
bool isWhole(double seconds)
{
    return seconds == std::floor(seconds) && std::abs(seconds) < 1e15;
}

} // namespace

std::optional<double> RouteClock::timeLeftAtExit(const LevelMap &map, const Playthrough &playthrough, double pace)
{
    if (!playthrough.leftThroughExit)
        return std::nullopt;
    LevelClock clock;
    clock.start();
    const qint64 exitAt = LevelClock::keyTime(playthrough.keysUsed - 1, pace);
    const auto clockAt = [&](qsizetype taken) { return LevelClock::keyTime(playthrough.clockKeys.at(taken), pace); };
    const qsizetype clocks = playthrough.clockKeys.size();
    double timeLeft = map.timeLimit();
    qsizetype taken = 0;
    while (clock.nextTick() <= exitAt) {
        while (taken < clocks && clockAt(taken) < clock.nextTick()) {
            timeLeft = LevelRules::withSeconds(timeLeft, playthrough.secondsAdded.at(taken));
            ++taken;
        }
        if (timeLeft <= 0 && taken == clocks) {
            if (isWhole(timeLeft))
                timeLeft -= double(clock.runTo(exitAt));
            return timeLeft;
        }
        if (isWhole(timeLeft)) {
            // A whole count falls by one a tick, exactly as the ticks
            // themselves would have it, until the next clock comes: it meets
            // 0 after as many ticks as it shows.
            const double ticks = double(clock.runTo(taken < clocks ? std::min(clockAt(taken), exitAt) : exitAt));
            if (timeLeft >= 1 && ticks >= timeLeft)
                return std::nullopt;
            timeLeft -= ticks;
            continue;
        }
        clock.runTo(clock.nextTick());
        const LevelRules::Tick tick = LevelRules::tick(timeLeft);
        if (tick.timeOver)
            return std::nullopt;
        timeLeft = tick.timeLeft;
    }
    return timeLeft;
}

double RouteClock::slowestPace(const LevelMap &map, const Playthrough &playthrough)
{
    if (inTime(map, playthrough, LevelSolver::MinPace))
        return 0;
    if (!inTime(map, playthrough, LevelSolver::MaxPace))
        return std::numeric_limits<double>::infinity();
    double slow = LevelSolver::MinPace;
    double fast = LevelSolver::MaxPace;
    for (int i = 0; i < 60; ++i) {
        const double middle = (slow + fast) / 2;
        (inTime(map, playthrough, middle) ? fast : slow) = middle;
    }
    return fast;
}

std::optional<double> RouteClock::wholeTimeLimit(const LevelMap &map)
{
    const int clockSeconds = TileRule::of(TileCodes::Clock).seconds;
    const double limit = map.timeLimit();
    const double whole = std::round(limit);
    if (whole < 1 || !isWhole(whole))
        return std::nullopt;
    // A limit a hair off a whole number is written back whole at the first
    // tick, clocks taken before it or not; then the count is whole for good.
    double timeLeft = limit;
    for (qsizetype clocks = 0; clocks <= map.clocks().size(); ++clocks) {
        if (LevelRules::tick(timeLeft).timeLeft != whole + clockSeconds * double(clocks) - 1)
            return std::nullopt;
        timeLeft = LevelRules::withSeconds(timeLeft, clockSeconds);
    }
    return whole;
}

int RouteClock::latestMoves(double seconds, double pace)
{
    // The key that makes the move falls before the tick that would take
    // the clock's last second.
    const qint64 due = qint64(seconds) * LevelClock::Second;
    if (due <= 0)
        return 0;
    const auto inTimeKey = [&](qint64 key) { return LevelClock::keyTime(key, pace) < due; };
    qint64 early = 0;
    qint64 late = 1;
    while (late < LevelGrid::Unreachable && inTimeKey(late)) {
        early = late;
        late *= 2;
    }
    while (late - early > 1) {
        const qint64 middle = early + (late - early) / 2;
        (inTimeKey(middle) ? early : late) = middle;
    }
    return int(std::min<qint64>(early + 1, LevelGrid::Unreachable));
}
