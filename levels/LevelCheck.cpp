// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelCheck.h"

#include "Arrow.h"
#include "LevelFile.h"
#include "LevelMap.h"
#include "LevelRecord.h"
#include "LevelSolver.h"
#include "TileCodes.h"

#include <cmath>
#include <map>

namespace {

QString keyNames(const QString &keys)
{
    QStringList names;
    for (const QChar key : keys) {
        if (const auto arrow = Arrow::ofLetter(key))
            names.append(Arrow::name(*arrow));
    }
    return names.join(u' ');
}

// A line of the file as it can be shown on one line of the report: control
// characters spelled out, and a long line cut short.
QString quoted(const QString &text)
{
    constexpr qsizetype Shown = 40;
    QString shown;
    for (const QChar c : text.left(Shown)) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    if (text.size() > Shown)
        shown += QStringLiteral("...");
    return u'"' + shown + u'"';
}

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
        m_verdict = Verdict::Unreadable;
        m_report.append(QStringLiteral("cannot be read; cannot be won"));
        return;
    }
    m_fault = LevelRecord::fileFault(*lines);
    if (m_fault != LevelRecord::FileFault::None) {
        m_verdict = Verdict::Refused;
        m_report.append(faultLine(*lines) + QStringLiteral("; cannot be won"));
        return;
    }
    examine(LevelRecord::fromFileLines(*lines), stop);
}

LevelCheck::LevelCheck(const LevelRecord &level)
{
    examine(level);
}

QString LevelCheck::faultLine(const QStringList &lines)
{
    const auto shown = [&lines](int index) { return quoted(LevelRecord::line(lines, index)); };
    switch (LevelRecord::fileFault(lines)) {
    case LevelRecord::FileFault::None:
        return {};
    case LevelRecord::FileFault::StartX:
        return QStringLiteral("line 1: the start X %1 is not a whole number of twips").arg(shown(0));
    case LevelRecord::FileFault::StartY:
        return QStringLiteral("line 2: the start Y %1 is not a whole number of twips").arg(shown(1));
    case LevelRecord::FileFault::StartXRange:
        return QStringLiteral("line 1: the start X %1 is out of range").arg(shown(0));
    case LevelRecord::FileFault::StartYRange:
        return QStringLiteral("line 2: the start Y %1 is out of range").arg(shown(1));
    case LevelRecord::FileFault::Color:
        return QStringLiteral("line 3: the colour %1 is not a colour value").arg(shown(2));
    case LevelRecord::FileFault::ColorRange:
        return QStringLiteral("line 3: the colour %1 is out of range").arg(shown(2));
    case LevelRecord::FileFault::Time:
        return QStringLiteral("line 4: the time limit %1 is not a number").arg(shown(3));
    case LevelRecord::FileFault::NoMap:
        return QStringLiteral("lines 5 to %1: the map holds no codes").arg(LevelRecord::FileLinesRead);
    }
    Q_UNREACHABLE();
}

void LevelCheck::examine(const LevelRecord &level, const std::atomic_bool *stop)
{
    const LevelMap map(level);
    const qsizetype collectibles = map.collectibles().size();
    m_report.append(QStringLiteral("map %1 x %2, screen cash %3, exits %4, time %5")
                        .arg(map.columns())
                        .arg(map.rows())
                        .arg(collectibles)
                        .arg(map.exits().size())
                        .arg(level.time.trimmed()));

    int unknown = 0;
    for (qsizetype row = 0; row < level.rows.size(); ++row) {
        const QStringList codes = TileCodes::cutRow(level.rows.at(row));
        for (qsizetype column = 0; column < codes.size(); ++column) {
            if (TileCodes::isKnown(codes.at(column)) || ++unknown > UnknownCodesNamed)
                continue;
            m_report.append(QStringLiteral("line %1: %2 at column %3 names no tile; the figure meets it as a wall")
                                .arg(row + 5)
                                .arg(quoted(codes.at(column)))
                                .arg(column + 1));
        }
    }
    if (unknown > UnknownCodesNamed)
        m_report.append(QStringLiteral("%1 more codes name no tile").arg(unknown - UnknownCodesNamed));

    // The figure placed inside a wall, on an exit or off the map is a fault
    // of its own, said before anything about what it could reach from there.
    if (map.start() && !map.isWalkable(*map.start())) {
        m_verdict = Verdict::BadStart;
        m_obstacle = {Obstacle::Kind::StartOnTile, *map.start()};
        m_problem = problem(map, m_obstacle);
        m_report.append(m_problem + QStringLiteral("; put the start on the floor"));
        return;
    }

    LevelSolver solver(map);
    solver.setStopFlag(stop);
    const auto route = solver.solve();
    if (solver.stopped()) {
        m_stopped = true;
        return;
    }
    const QString undecided = QStringLiteral("not decided: no route found within the search's limit");
    if (!route) {
        m_obstacle = solver.obstacles().first();
        m_problem = problem(map, m_obstacle);
        m_report += problems(map, solver.obstacles());
        // A map the search declines, or a search that came back empty, proves
        // nothing against the level.
        const bool proven = !isUndecided(m_obstacle.kind);
        m_verdict = proven ? Verdict::Blocked : Verdict::Undecided;
        m_report.append(proven ? QStringLiteral("cannot be won") : undecided);
        return;
    }
    if (collectibles == 0)
        m_report.append(QStringLiteral("nothing to collect, and the exit can be reached"));
    else if (collectibles == 1)
        m_report.append(QStringLiteral("the one banknote or diamond can be reached, and the exit"));
    else
        m_report.append(QStringLiteral("all %1 banknotes and diamonds can be reached, and the exit").arg(collectibles));

    const QString length = route->shortest ? QStringLiteral("the shortest")
                                           : QStringLiteral("none is shorter than %1").arg(route->lowerBound);
    const QString clocks = route->clocks == 0   ? QStringLiteral("no clock")
                           : route->clocks == 1 ? QStringLiteral("1 clock")
                                                : QStringLiteral("%1 clocks").arg(route->clocks);
    QString pace;
    if (route->pace == 0)
        pace = QStringLiteral("the time never runs out");
    else if (std::isinf(route->pace))
        pace = QStringLiteral("no pace gets out in time");
    else
        pace = QStringLiteral("needs %1 moves a second").arg(route->pace, 0, 'f', 2);
    // The route was played through by the game's rules at the pace it names.
    m_winnable = route->pace <= LevelSolver::HumanPace;
    m_verdict = m_winnable ? Verdict::Winnable : solver.noneInTime() ? Verdict::TooFast : Verdict::Undecided;
    m_route = route;
    QString outcome;
    switch (m_verdict) {
    case Verdict::Winnable:
        outcome = QStringLiteral("winnable");
        break;
    case Verdict::TooFast:
        outcome = QStringLiteral("cannot be won at %1 moves a second").arg(LevelSolver::HumanPace);
        break;
    default:
        outcome = undecided;
        break;
    }
    m_report.append(QStringLiteral("route of %1 moves (%2), %3, %4: %5")
                        .arg(route->keys.size())
                        .arg(length, clocks, pace, outcome));
    m_difficulty.emplace(map, *route);
    m_report.append(QStringLiteral("difficulty: ") + figures(*m_difficulty));
    if (m_winnable)
        m_routeKeys = QStringLiteral("route: ") + keyNames(route->keys);
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

QString LevelCheck::figures(const LevelDifficulty &difficulty)
{
    const QString pace = difficulty.pace() == 0          ? QStringLiteral("any pace")
                         : std::isinf(difficulty.pace()) ? QStringLiteral("no pace")
                                                         : QStringLiteral("%1 moves a second").arg(difficulty.pace(), 0, 'f', 2);
    const QString spare = difficulty.spare()
                              ? QStringLiteral("%1 % of the time to spare").arg(std::lround(*difficulty.spare() * 100))
                              : QStringLiteral("no time limit");
    const int count = difficulty.deadEnds();
    const QString deadEnds = count == 0   ? QStringLiteral("no dead end")
                             : count == 1 ? QStringLiteral("1 dead end")
                                          : QStringLiteral("%1 dead ends").arg(count);
    return QStringList{pace, spare, deadEnds}.join(QStringLiteral(", "));
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

QString LevelCheck::sentence() const
{
    const QString cannot = QStringLiteral("This level cannot be won: %1.");
    switch (m_verdict) {
    case Verdict::Winnable: {
        QString text = QStringLiteral("This level can be won: a route of %1 moves").arg(m_route->keys.size());
        if (m_route->clocks == 1)
            text += QStringLiteral(" taking 1 clock");
        else if (m_route->clocks > 1)
            text += QStringLiteral(" taking %1 clocks").arg(m_route->clocks);
        if (m_route->pace == 0)
            return text + QStringLiteral(", and the time never runs out.");
        return text + QStringLiteral(", at %1 keys a second.").arg(m_route->pace, 0, 'f', 2);
    }
    case Verdict::TooFast: {
        const QString found = std::isinf(m_route->pace)
                                  ? QStringLiteral("runs out of time at any pace")
                                  : QStringLiteral("needs %1").arg(m_route->pace, 0, 'f', 2);
        return cannot.arg(QStringLiteral("no route gets out in time at %1 keys a second, whichever clocks it takes "
                                         "(the quickest found, of %2 moves, %3)")
                              .arg(LevelSolver::HumanPace)
                              .arg(m_route->keys.size())
                              .arg(found));
    }
    case Verdict::Blocked:
        return cannot.arg(m_problem);
    case Verdict::Undecided:
        // A map the search declined says why; otherwise the search ran out.
        return QStringLiteral("Whether this level can be won is not decided: %1.")
            .arg(m_route ? QStringLiteral("no route was found within the search's limit") : m_problem);
    case Verdict::BadStart:
        return QStringLiteral("This level cannot be played as it stands: %1. Put the start on the floor.")
            .arg(m_problem);
    case Verdict::Refused:
        // The reason in the words the load-level screen gives it.
        return QStringLiteral("This level cannot be won. ") + LevelRecord::faultText(m_fault);
    case Verdict::Unreadable:
        break;
    }
    return cannot.arg(QStringLiteral("its file cannot be read"));
}

QStringList LevelCheck::report(bool withRoute) const
{
    if (withRoute && !m_routeKeys.isEmpty())
        return m_report + QStringList{m_routeKeys};
    return m_report;
}
