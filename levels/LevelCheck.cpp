// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelCheck.h"

#include "LevelFile.h"
#include "LevelMap.h"
#include "LevelRecord.h"
#include "LevelSolver.h"
#include "TileCodes.h"
#include "Twips.h"

#include <algorithm>
#include <map>

namespace {

// Codes that name no tile are walls to the figure; a few of them are worth a
// line each, a map full of them a count.
constexpr int UnknownCodesNamed = 5;
// Likewise the banknotes and diamonds out of reach, for each cause.
constexpr int UnreachableNamed = 5;

} // namespace

LevelCheck::LevelCheck(const QString &path)
{
    judge(LevelFile::read(path));
}

LevelCheck LevelCheck::ofLines(const QStringList &lines, const std::atomic_bool *stop)
{
    LevelCheck check;
    check.judge(lines, stop);
    return check;
}

void LevelCheck::judge(const std::optional<QStringList> &lines, const std::atomic_bool *stop)
{
    if (!lines) {
        m_findings.verdict = Verdict::Unreadable;
        return;
    }
    m_findings.fault = LevelRecord::fileFault(*lines);
    if (m_findings.fault != LevelRecord::FileFault::None) {
        m_findings.verdict = Verdict::Refused;
        // Each fault but the map's lies in one of the header lines.
        const int line = [&] {
            switch (m_findings.fault) {
            case LevelRecord::FileFault::StartY:
            case LevelRecord::FileFault::StartYRange:
                return 1;
            case LevelRecord::FileFault::Color:
            case LevelRecord::FileFault::ColorRange:
                return 2;
            case LevelRecord::FileFault::Time:
                return 3;
            default:
                return 0;
            }
        }();
        m_findings.faultText = LevelRecord::line(*lines, line);
        return;
    }
    examine(LevelRecord::fromFileLines(*lines), stop);
}

LevelCheck::LevelCheck(const LevelRecord &level)
{
    examine(level);
}

void LevelCheck::examine(const LevelRecord &level, const std::atomic_bool *stop)
{
    const LevelMap map(level);
    const QList<QPoint> collectibles = map.collectibles();
    m_findings.map = LevelFindings::Map{map.columns(), map.rows(), collectibles.size(), map.exits().size(), level.time};
    for (const QPoint &cell : collectibles)
        m_findings.offBoard += cell.x() >= Twips::MapCells || cell.y() >= Twips::MapCells ? 1 : 0;

    int unknown = 0;
    for (qsizetype row = 0; row < level.rows.size(); ++row) {
        const QStringList codes = TileCodes::cutRow(level.rows.at(row));
        for (qsizetype column = 0; column < codes.size(); ++column) {
            if (TileCodes::isKnown(codes.at(column)) || ++unknown > UnknownCodesNamed)
                continue;
            m_findings.unknownCodes.append({LevelRecord::fileLineOfRow(row), codes.at(column), column + 1});
        }
    }
    m_findings.moreUnknownCodes = std::max(0, unknown - UnknownCodesNamed);

    // The figure placed inside a wall, on an exit or off the map is a fault
    // of its own, said before anything about what it could reach from there.
    if (map.start() && !map.isWalkable(*map.start())) {
        m_findings.verdict = Verdict::BadStart;
        m_obstacle = {Obstacle::Kind::StartOnTile, *map.start()};
        m_findings.problem = problem(map, m_obstacle);
        return;
    }

    LevelSolver solver(map);
    solver.setStopFlag(stop);
    const auto route = solver.solve();
    if (solver.stopped()) {
        m_stopped = true;
        return;
    }
    if (!route) {
        m_obstacle = solver.obstacles().first();
        m_findings.problem = problem(map, m_obstacle);
        m_findings.problems = problems(map, solver.obstacles());
        // A map the search declines, or a search that came back empty, proves
        // nothing against the level.
        m_findings.verdict = isUndecided(m_obstacle.kind) ? Verdict::Undecided : Verdict::Blocked;
        return;
    }
    // The route was played through by the game's rules at the pace it names.
    m_winnable = route->pace <= LevelSolver::HumanPace;
    m_findings.verdict = m_winnable ? Verdict::Winnable : solver.noneInTime() ? Verdict::TooFast : Verdict::Undecided;
    m_findings.route = route;
    m_findings.difficulty.emplace(map, *route);
}

bool LevelCheck::isUndecided(Obstacle::Kind kind)
{
    switch (kind) {
    case Obstacle::Kind::MapTooBig:
    case Obstacle::Kind::TooManyPlaces:
    case Obstacle::Kind::NoRoute:
        return true;
    default:
        return false;
    }
}

QString LevelCheck::cellName(const QPoint &cell)
{
    return QStringLiteral("row %1, column %2").arg(cell.y() + 1).arg(cell.x() + 1);
}

QString LevelCheck::problem(const LevelMap &map, const Obstacle &obstacle)
{
    switch (obstacle.kind) {
    case Obstacle::Kind::StartOffGrid:
        return QStringLiteral("the start is not on a cell of the map, so the figure cannot move");
    case Obstacle::Kind::StartOnTile: {
        const QString text = map.text(obstacle.cell);
        QString where;
        if (text.isEmpty())
            where = QStringLiteral("outside the map");
        else if (TileCodes::isKnown(text))
            where = QStringLiteral("on the ") + TileCodes::name(map.code(obstacle.cell)).toLower();
        else
            where = QStringLiteral("on \"%1\", which names no tile").arg(text);
        return QStringLiteral("the figure starts %1, in %2").arg(where, cellName(obstacle.cell));
    }
    case Obstacle::Kind::MapTooBig:
        return QStringLiteral("the map is too big to look for a route");
    case Obstacle::Kind::TooManyPlaces:
        return QStringLiteral("the map holds too many things to collect to look for a route");
    case Obstacle::Kind::CannotBeReached:
        return QStringLiteral("the %1 in %2 cannot be reached").arg(itemName(map, obstacle.cell), cellName(obstacle.cell));
    case Obstacle::Kind::BeyondReach:
        return QStringLiteral("the %1 in %2 cannot be reached: the figure never goes past column %3 or row %3")
            .arg(itemName(map, obstacle.cell), cellName(obstacle.cell))
            .arg(LevelSolver::FurthestCell + 1);
    case Obstacle::Kind::NoExit:
        return QStringLiteral("the level has no exit");
    case Obstacle::Kind::NoExitReachable:
        return QStringLiteral("no exit stands next to a cell the figure can reach");
    case Obstacle::Kind::StartCutsOff:
        return QStringLiteral("the figure starts on a tile it cannot step back onto, which parts what is to be "
                              "collected from the exit");
    case Obstacle::Kind::NoRoute:
        return QStringLiteral("no route through the level was found");
    }
    Q_UNREACHABLE();
}

QString LevelCheck::itemName(const LevelMap &map, const QPoint &cell)
{
    return map.code(cell) == TileCodes::Diamond ? QStringLiteral("diamond") : QStringLiteral("banknote");
}

QStringList LevelCheck::problems(const LevelMap &map, const QList<Obstacle> &obstacles)
{
    // A few things out of reach are worth a line each, a whole stretch of
    // them a count for each cause.
    QStringList lines;
    std::map<Obstacle::Kind, int> unnamed;
    std::map<Obstacle::Kind, int> named;
    for (const Obstacle &obstacle : obstacles) {
        if (named[obstacle.kind]++ < UnreachableNamed)
            lines.append(problem(map, obstacle));
        else
            ++unnamed[obstacle.kind];
    }
    for (const auto &[kind, count] : unnamed) {
        lines.append(kind == Obstacle::Kind::BeyondReach
                         ? QStringLiteral("%1 more banknotes and diamonds lie past column %2 or row %2")
                               .arg(count)
                               .arg(LevelSolver::FurthestCell + 1)
                         : QStringLiteral("%1 more banknotes and diamonds cannot be reached").arg(count));
    }
    return lines;
}
