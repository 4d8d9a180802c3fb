// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelReplay.h"

#include "LevelCheck.h"
#include "LevelClock.h"
#include "LevelRound.h"
#include "LevelTable.h"

#include <algorithm>
#include <cmath>

LevelReplay::Result LevelReplay::play(const LevelRecord &level, const LevelRun &run)
{
    if (!run.isOf(level))
        return Result{false, 0, 0, QStringLiteral("the run was played on another level")};
    LevelRound round(LevelRound::Start{level, LevelTable::FileMarker, 0, 0});
    const QList<LevelRun::Key> &keys = run.keys();
    qsizetype played = 0;
    for (const LevelRun::Key &key : keys) {
        if (round.isOver())
            break;
        round.key(key.arrow ? Arrow::keyCode(*key.arrow) : 0, key.at);
        ++played;
    }
    if (round.isWon())
        return Result{true, round.result().secondsLeft, round.result().points, {}};
    if (round.isOver()) {
        return Result{false, 0, 0,
                      QStringLiteral("the time ran out after %1 of its %2 keys").arg(played - 1).arg(keys.size())};
    }
    return Result{false, 0, 0,
                  QStringLiteral("the run ends before the exit, with %1 banknotes and diamonds left")
                      .arg(round.cashCaption())};
}

QString LevelReplay::line(const Result &result)
{
    if (!result.won)
        return QStringLiteral("lost: ") + result.why;
    return QStringLiteral("won, %1 seconds left, %2 points").arg(result.secondsLeft).arg(result.points);
}

LevelRun LevelReplay::ofRoute(const LevelRecord &level, const QString &keys, double pace)
{
    LevelRun run(level);
    for (qsizetype key = 0; key < keys.size(); ++key)
        run.add({LevelClock::keyTime(key, pace), Arrow::ofLetter(keys.at(key))});
    return run;
}

std::optional<double> LevelReplay::watchingPace(const LevelRecord &level, const QString &keys, double slowestPace)
{
    // A fifth faster than the slowest pace in time leaves the clock a margin
    // a watcher can see, rounded up to half a move a second to read easily;
    // the steps of half a move find the first that gets out, since a route
    // in time at one pace may not be at a slightly faster one when a clock
    // falls the other side of a tick.
    const double margin = std::ceil(slowestPace * 1.2 * 2 - 1e-9) / 2;
    for (double pace = std::clamp(margin, EasyPace, FastestPace);; pace = std::min(pace + 0.5, FastestPace)) {
        if (play(level, ofRoute(level, keys, pace)).won)
            return pace;
        if (pace == FastestPace)
            break;
    }
    return std::nullopt;
}

LevelReplay::Way LevelReplay::way(const LevelRecord &level)
{
    const LevelCheck check(level);
    if (!check.winnable() || !check.route())
        return Way{std::nullopt, 0, check.sentence()};
    const Route &route = *check.route();
    const std::optional<double> pace = watchingPace(level, route.keys, route.pace);
    if (!pace) {
        return Way{std::nullopt, 0,
                   QStringLiteral("The route found gets out in time only faster than a player could follow it.")};
    }
    return Way{ofRoute(level, route.keys, *pace), *pace, {}};
}
