// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LevelDifficulty.h"
#include "LevelFindings.h"
#include "LevelRecord.h"
#include "LevelSolver.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <optional>

// What a level designer learns about one level before players meet it: the
// map's size, its screen cash and exits, whatever cannot be reached, the
// shortest route found and the pace it asks for, and whether the level can be
// won at all. A file the game would refuse gets one line naming the line of
// the file at fault. The designers' tool and the editor judge by this alike,
// and LevelFindings puts what it found into words for both.
class LevelCheck
{
public:
    // The level file at path.
    explicit LevelCheck(const QString &path);
    // A level given as the lines of its file, as the editor would save it.
    // The stop flag, when given, lets another thread give the check up: it
    // then ends soon, and stopped() is true.
    static LevelCheck ofLines(const QStringList &lines, const std::atomic_bool *stop = nullptr);
    // A level that is no file, such as a built-in one.
    explicit LevelCheck(const LevelRecord &level);

    // Given up through the stop flag; nothing else it says then counts.
    bool stopped() const { return m_stopped; }

    // Can be played and finished within its time at the pace a level may ask.
    bool winnable() const { return m_winnable; }

    // The judgment, for a window to put in its own words.
    using Verdict = LevelFindings::Verdict;
    Verdict verdict() const { return m_findings.verdict; }
    LevelRecord::FileFault fault() const { return m_findings.fault; }
    // Meaningful only when the verdict is Blocked or BadStart, or Undecided
    // without a route.
    Obstacle obstacle() const { return m_obstacle; }
    // The route found, when there is one (Winnable, TooFast, and Undecided
    // with a route too slow).
    const std::optional<Route> &route() const { return m_findings.route; }
    // How hard that route makes the level, when there is one.
    const std::optional<LevelDifficulty> &difficulty() const { return m_findings.difficulty; }

    const LevelFindings &findings() const { return m_findings; }
    // The findings, one a line, without the file's name. withRoute adds the
    // winning route as arrow-key names on one line.
    QStringList report(bool withRoute) const { return m_findings.report(withRoute); }
    // The verdict in one sentence, as the editor tells the designer.
    QString sentence() const { return m_findings.sentence(); }

    // Why the solver found no way through the map, one line a cause.
    static QStringList problems(const LevelMap &map, const QList<Obstacle> &obstacles);
    // A cell as designers count it: rows as the editor's line report numbers
    // them, columns in tiles, both from 1.
    static QString cellName(const QPoint &cell);

private:
    LevelCheck() = default;
    void judge(const std::optional<QStringList> &lines, const std::atomic_bool *stop = nullptr);
    void examine(const LevelRecord &level, const std::atomic_bool *stop = nullptr);
    static QString problem(const LevelMap &map, const Obstacle &obstacle);
    static QString itemName(const LevelMap &map, const QPoint &cell);
    // The search declined the map or came back empty: nothing is proven.
    static bool isUndecided(Obstacle::Kind kind);

    bool m_winnable = false;
    bool m_stopped = false;
    Obstacle m_obstacle{Obstacle::Kind::NoRoute, {}};
    LevelFindings m_findings;
};
