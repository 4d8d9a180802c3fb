// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Arrow.h"
#include "LevelRecord.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

// One play of a level as it can be played again: the level as its lines
// stand, and every key with its time of play since the first key started the
// clock, pauses left out. The best finish of each built-in level keeps its
// run in a file of its own beside Best.Log, so that it can be watched and
// checked against the best it claims.
//
// The file is plain text, one item a line, lines ending in LF:
//     Veltrano run 1
//     level <n>            the number of level lines that follow
//     <n level lines>      start left and top in twips, the colour value
//                          (empty for the desktop's colour), the time
//                          limit, then the map rows, as a level file holds them
//     keys <k>
//     <k key lines>        "<milliseconds> <key>", the milliseconds never
//                          falling, the key U, D, L or R for an arrow key or
//                          * for any other key
// Anything else, such as a line too many, makes the file no run at all.
class LevelRun
{
public:
    struct Key
    {
        qint64 at = 0;
        // Nothing for a key that is no arrow key.
        std::optional<Arrow::Direction> arrow;
        bool operator==(const Key &) const = default;
    };

    LevelRun() = default;
    explicit LevelRun(const LevelRecord &level);

    const LevelRecord &level() const { return m_level; }
    const QList<Key> &keys() const { return m_keys; }
    void add(const Key &key) { m_keys.append(key); }

    // Whether the run was played on this level: the same start, time and
    // rows, which is all that play depends on (a level file holds seventeen
    // rows, empty ones at the end included, and a colour for every level).
    bool isOf(const LevelRecord &level) const;

    QByteArray content() const;
    static std::optional<LevelRun> parse(QByteArrayView text);

    // The best run of built-in level n, beside Best.Log.
    static QString path(int level);
    // A file that is missing, damaged or no regular file is no run.
    static std::optional<LevelRun> read(const QString &path);
    // Written as the game's other files are: replaced whole in one step.
    bool write(const QString &path) const;

    // Far more keys than any level needs, and a bound on what is read.
    static constexpr int MaxKeys = 100'000;
    static constexpr qint64 MaxBytes = 4 << 20;

private:
    static QStringList linesOf(const LevelRecord &level);

    LevelRecord m_level;
    QList<Key> m_keys;
};
