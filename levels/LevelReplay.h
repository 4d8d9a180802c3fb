// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LevelRecord.h"
#include "LevelRun.h"

#include <QString>

#include <optional>

// A run played again through a round of its level, without a screen: what the
// same keys at the same times give, as the designers' tool reports it and as
// the play screen shows a watched run.
class LevelReplay
{
public:
    struct Result
    {
        bool won = false;
        int secondsLeft = 0;
        int points = 0;
        // Why a run that was not won ended as it did.
        QString why;
    };
    static Result play(const LevelRecord &level, const LevelRun &run);
    // "won, S seconds left, P points" or "lost: <why>".
    static QString line(const Result &result);

    // The keys of a route at a steady pace of so many moves a second, the
    // first one at the start of the clock.
    static LevelRun ofRoute(const LevelRecord &level, const QString &keys, double pace);
    // A steady pace at which the route gets out in time and a player can
    // follow it: never above 6 moves a second, and no faster than a player
    // watching needs. Nothing when no such pace gets the route out in time.
    static std::optional<double> watchingPace(const LevelRecord &level, const QString &keys, double slowestPace);

    // "Show me a way": the checker's route through the level as a run to
    // watch, at a steady pace a player can follow; or nothing, and why, for
    // a level that has no route in time to show (one that cannot be won, or
    // one the check has not decided).
    struct Way
    {
        std::optional<LevelRun> run;
        double pace = 0;
        QString why;
    };
    static Way way(const LevelRecord &level);

    // The pace a watched way is shown at when the clock leaves room for it.
    static constexpr double EasyPace = 4;
    static constexpr double FastestPace = 6;
};
