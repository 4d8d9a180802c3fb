// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <map>
#include <optional>

// The player's best finish of each built-in level, kept in Best.Log beside
// LGT.Log. Every banknote and diamond must be taken before the exit opens,
// so a level's points are the same on every finish; what a player can
// improve is the time, and the best finish is the one with the most seconds
// left on the clock (clocks taken included), the points of that finish
// beside it. An equal time does not displace the earlier finish.
class BestResults
{
public:
    struct Result
    {
        int secondsLeft = 0;
        int points = 0;
    };
    // By level number, 1..20.
    using Table = std::map<int, Result>;

    static QString path();

    // Every best kept so far. A file that is missing, unreadable, no regular
    // file, damaged or written by anything but the game reads as no best at
    // all; it is replaced by the next best kept.
    static Table read();
    static std::optional<Result> of(int level);

    // Keeps the finish when it beats the level's best so far, or when the
    // level has none yet, and says whether it did. The file is written as
    // LGT.Log is: replaced whole in one step, never through a link. A file
    // that cannot be written never stops a game; the finish still counts
    // as a best for the player to hear of.
    static bool record(int level, const Result &result);

    // The file's exact content and its reading; nothing for text that is
    // not, line for line, what the game writes.
    static QByteArray content(const Table &table);
    static std::optional<Table> parse(QByteArrayView text);
};
