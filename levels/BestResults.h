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

    // Every best kept so far: each line of the file that is a level's line
    // as the game writes it, whatever else the file holds. Empty lines, such
    // as the last one a text editor leaves, and lines ending in LF alone are
    // fine. A file that is missing, no regular file or written by anything
    // but the game (another first line) reads as no best at all.
    static Table read();
    static std::optional<Result> of(int level);

    // What became of a finish.
    enum class Outcome {
        NoBest,  // the level's best so far is as good or better
        Kept,    // the new best is in the file
        NotKept, // a best, but the file could not take it
    };

    // Keeps the finish when it beats the level's best so far, or when the
    // level has none yet, and says what became of it. The file is written as
    // LGT.Log is: replaced whole in one step, never through a link. A file
    // with anything the game could not read (a garbled line, an unknown
    // level, a level twice, another first line) is first kept whole beside
    // it as Best.Log.old (Best.Log.old.2 and on when that name holds another
    // file), so that nothing a player had there is lost; a file that can be
    // neither read in full nor set aside, such as one the player may not
    // read, is never replaced. A file that cannot be written (a full disk,
    // a read-only folder) never stops a game, but its best is not kept.
    static Outcome record(int level, const Result &result);

    // What a reading of the file found: the levels' lines it could read,
    // and whether that was all the file held.
    struct Reading
    {
        Table table;
        bool whole = true;
    };

    // The file's exact content and its reading.
    static QByteArray content(const Table &table);
    static Reading parse(QByteArrayView text);
};
