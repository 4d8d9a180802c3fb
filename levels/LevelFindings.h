// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LevelDifficulty.h"
#include "LevelRecord.h"
#include "LevelSolver.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// What the check found out about one level, and the one place that puts it
// into words: as the designers' tool's report lines and as the sentence the
// editor tells. Paces are spoken of in moves a second throughout.
struct LevelFindings
{
    // The judgment, for a window to show in its own way.
    enum class Verdict {
        Winnable,
        Unreadable, // the file cannot be read
        Refused,    // the game will not play it; fault says why
        Blocked,    // no way through; problem gives the first cause
        BadStart,   // the figure starts where it cannot stand
        TooFast,    // no route can be in time at LevelSolver::HumanPace
        // The search ran to its limit without a route in time at
        // LevelSolver::HumanPace, and nothing proves that none exists.
        Undecided,
    };
    Verdict verdict = Verdict::Unreadable;

    // Refused: the fault and the text of the line it lies in.
    LevelRecord::FileFault fault = LevelRecord::FileFault::None;
    QString faultText;

    // The map as the figure meets it; the rest needs it.
    struct Map
    {
        int columns = 0;
        int rows = 0;
        qsizetype screenCash = 0;
        qsizetype exits = 0;
        QString time;
    };
    std::optional<Map> map;
    // A code that names no tile: its line of the file, counted from 1, and
    // its column, counted in tiles from 1.
    struct UnknownCode
    {
        qsizetype line = 0;
        QString code;
        qsizetype column = 0;
    };
    QList<UnknownCode> unknownCodes;
    // Those past the ones named.
    int moreUnknownCodes = 0;
    // Banknotes and diamonds outside the sixteen by sixteen cells the play
    // screen shows: the figure still walks there and takes them, unseen.
    int offBoard = 0;

    // The first cause that keeps the level from being won (Blocked,
    // BadStart, and Undecided without a route), and every cause found.
    QString problem;
    QStringList problems;

    // The route found (Winnable, TooFast, and Undecided with a route too
    // slow), and how hard it makes the level.
    std::optional<Route> route;
    std::optional<LevelDifficulty> difficulty;

    // The findings, one a line, without the file's name. withRoute adds a
    // winning route as arrow-key names on one line.
    QStringList report(bool withRoute) const;
    // The verdict in one sentence, as the editor tells the designer.
    QString sentence() const;

    // A pace as a figure with two decimals, and in words.
    static QString paceFigure(double movesASecond);
    static QString pace(double movesASecond);
    // What a route's pace asks of the player, in words.
    static QString paceNeeded(double movesASecond);
    // A share as a whole percentage.
    static QString percent(double share);
    // The difficulty figures as the report's line gives them.
    static QString figures(const LevelDifficulty &difficulty);
    // A line of the file as it can be shown on one line: control characters
    // spelled out, and a long line cut short.
    static QString quoted(const QString &text);
};
