// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelSolver.h"

#include "Arrow.h"
#include "LevelPlay.h"
#include "LevelRules.h"
#include "RouteClock.h"
#include "TileCodes.h"
#include "TileRule.h"
#include "Twips.h"

#include <algorithm>

namespace {

constexpr int Unreachable = LevelGrid::Unreachable;
// Every clock subset is tried while there are this few clocks; beyond it,
// none, each one alone, all of them, and clocks added one by one while each
// lets the route get out at a slower pace.
constexpr int ClockSubsetsUpTo = 4;
const int ClockSeconds = TileRule::of(TileCodes::Clock).seconds;

} // namespace

LevelSolver::LevelSolver(const LevelMap &map)
    : m_map(map)
{
}

void LevelSolver::measure()
{
    const LevelGrid &grid = m_grid.emplace(m_map);
    m_wholeLimit = RouteClock::wholeTimeLimit(m_map);
    m_nodes = QList<QPoint>{*m_map.start()} + m_map.collectibles();
    m_collectibles = int(m_nodes.size()) - 1;
    m_nodes += m_map.clocks();
    const QPoint start = m_nodes.at(0);

    m_fromNode.clear();
    for (const QPoint &node : std::as_const(m_nodes))
        m_fromNode.append(grid.distancesFrom(node));

    m_exitBeside.clear();
    m_exitPush.clear();
    for (const QPoint &exit : m_map.exits()) {
        for (const Arrow::Direction arrow : Arrow::All) {
            const QPoint beside = exit - Arrow::step(arrow);
            const int at = grid.index(beside);
            // The figure may start beside an exit on a cell it could not
            // walk back onto.
            if (at < 0 || !(grid.isWalkable(at) || beside == start))
                continue;
            if (LevelRules::target(beside * Twips::Cell, arrow) == exit * Twips::Cell) {
                m_exitBeside.append(at);
                m_exitPush.append(arrow);
            }
        }
    }

    // Something lying under the start is only taken by stepping off the cell
    // and back onto it.
    int backToStart = Unreachable;
    const int startAt = grid.index(start);
    for (const Arrow::Direction arrow : Arrow::All) {
        if (startAt >= 0 && grid.next(startAt, arrow) >= 0
            && grid.next(grid.next(startAt, arrow), Arrow::opposite(arrow)) == startAt)
            backToStart = 2;
    }

    const int count = int(m_nodes.size());
    QList<int> between(count * count, Unreachable);
    QList<int> exitMoves(count, Unreachable);
    for (int from = 0; from < count; ++from) {
        for (int to = 0; to < count; ++to) {
            const QPoint target = m_nodes.at(to);
            const int at = grid.index(target);
            if (from == 0 && target == start)
                between[from * count + to] = backToStart;
            else if (at >= 0)
                between[from * count + to] = m_fromNode.at(from).at(at);
        }
        for (const int beside : std::as_const(m_exitBeside))
            exitMoves[from] = std::min(exitMoves.at(from), m_fromNode.at(from).at(beside) + 1);
    }
    m_tour.emplace(between, exitMoves);
    m_tour->setStopFlag(m_stop);
}

std::optional<Route> LevelSolver::solve()
{
    m_stopped = false;
    m_noneInTime = false;
    m_obstacles.clear();
    if (!m_map.start()) {
        m_obstacles.append({Obstacle::Kind::StartOffGrid, {}});
        return std::nullopt;
    }
    if (LevelGrid::cellCount(m_map) > MaxCells) {
        m_obstacles.append({Obstacle::Kind::MapTooBig, {}});
        return std::nullopt;
    }
    if (m_map.collectibles().size() + m_map.clocks().size() + 1 > MaxPoints) {
        m_obstacles.append({Obstacle::Kind::TooManyPlaces, {}});
        return std::nullopt;
    }
    measure();
    const LevelTour &tour = *m_tour;
    tour.allow(SearchSteps);

    QList<int> collectibles;
    for (int node = 1; node <= m_collectibles; ++node) {
        collectibles.append(node);
        if (distance(0, node) < Unreachable)
            continue;
        const QPoint cell = m_nodes.at(node);
        const bool beyond = cell.x() > FurthestCell || cell.y() > FurthestCell;
        m_obstacles.append({beyond ? Obstacle::Kind::BeyondReach : Obstacle::Kind::CannotBeReached, cell});
    }
    if (m_map.exits().isEmpty())
        m_obstacles.append({Obstacle::Kind::NoExit, {}});
    else if (toExit(0) >= Unreachable)
        m_obstacles.append({Obstacle::Kind::NoExitReachable, {}});
    if (!m_obstacles.isEmpty())
        return std::nullopt;

    // Whatever the figure can reach lies in one stretch of floor with an exit
    // beside it, unless the figure starts on a tile it cannot step back onto:
    // that tile may part the places to visit from each other or from the exit.
    const auto together = [&](int node) {
        return toExit(node) < Unreachable && (collectibles.isEmpty() || distance(collectibles.first(), node) < Unreachable);
    };
    if (!std::all_of(collectibles.cbegin(), collectibles.cend(), together)) {
        m_obstacles.append({Obstacle::Kind::StartCutsOff, {}});
        return std::nullopt;
    }
    QList<int> clocks;
    for (int node = m_collectibles + 1; node < m_nodes.size(); ++node) {
        if (distance(0, node) < Unreachable && together(node))
            clocks.append(node);
    }

    Route route;

    // Which clocks to fetch: any choice while there are few, otherwise none,
    // each alone or all of them, and then more one by one below.
    QList<QList<int>> clockChoices{{}};
    if (clocks.size() <= ClockSubsetsUpTo) {
        for (int subset = 1; subset < (1 << clocks.size()); ++subset) {
            QList<int> chosen;
            for (qsizetype i = 0; i < clocks.size(); ++i) {
                if (subset & (1 << i))
                    chosen.append(clocks.at(i));
            }
            clockChoices.append(chosen);
        }
    } else {
        for (const int clock : std::as_const(clocks))
            clockChoices.append(QList<int>{clock});
        clockChoices.append(clocks);
    }

    // The order without clocks comes first. Local search from the nearest
    // place first may take the whole count of steps: that is what makes the
    // route worth giving. Shaking it up stops once it meets the lower bound,
    // since no order beats that.
    const qint64 half = SearchSteps / 2;
    QList<int> plainOrder;
    if (collectibles.size() <= ExactPoints) {
        plainOrder = tour.exactOrder(collectibles, route.lowerBound);
    } else {
        const QList<int> nearest = tour.nearestFirst(collectibles);
        plainOrder = nearest;
        tour.shorten(plainOrder);
        // The bound may take a quarter of the steps, however many finding
        // the places took.
        tour.allow(SearchSteps / 4);
        route.lowerBound = tour.lowerBound(collectibles, tour.cost(nearest));
        tour.allow(clocks.isEmpty() ? SearchSteps : std::max(qint64(0), half - tour.stepsTaken()));
        tour.shakeUp(plainOrder, route.lowerBound);
        tour.allow(SearchSteps);
    }

    bool found = false;
    QList<int> bestOrder;
    const auto consider = [&](const QList<int> &order) {
        const QString keys = keysFor(order);
        const Playthrough playthrough = play(m_map, keys);
        tour.spend(keys.size());
        if (!playthrough.leftThroughExit || playthrough.cashLeft != 0)
            return false;
        const double pace = slowestPace(m_map, playthrough);
        if (found && !(pace < route.pace || (pace == route.pace && keys.size() < route.keys.size())))
            return false;
        found = true;
        route.keys = keys;
        route.pace = pace;
        route.clocks = int(playthrough.clockKeys.size());
        bestOrder = order;
        return true;
    };
    // Each choice of clocks starts from the order without them, its clocks
    // put in where they cost the fewest moves. A choice is not looked at
    // when even its shortest route could not ask for a slower pace.
    QList<int> bestChosen;
    for (const QList<int> &chosen : std::as_const(clockChoices)) {
        if (stopRequested())
            break;
        if (found && !mayBeat(chosen, route.lowerBound, route))
            continue;
        QList<int> order;
        if (chosen.isEmpty()) {
            order = plainOrder;
        } else if (collectibles.size() + chosen.size() <= ExactPoints) {
            int length = 0;
            order = tour.exactOrder(collectibles + chosen, length);
        } else {
            order = tour.withPlaces(plainOrder, chosen);
            tour.shorten(order);
        }
        if (consider(order))
            bestChosen = chosen;
    }
    // A route in time at a player's pace stands as the fewest moves found
    // it. Otherwise each choice is tried again with its clocks put in where
    // they let the slowest pace get out in time: a clock fetched first may
    // be worth more than the moves it costs. Beyond the few clocks whose
    // every choice is tried, the best choice then takes one more clock at a
    // time while that lets the route be slower.
    const bool inTimeAlready = found && route.pace <= HumanPace;
    for (const QList<int> &chosen : std::as_const(clockChoices)) {
        if (inTimeAlready || stopRequested())
            break;
        if (!chosen.isEmpty() && consider(withClocksInTime(plainOrder, chosen)))
            bestChosen = chosen;
    }
    for (bool grown = !inTimeAlready && clocks.size() > ClockSubsetsUpTo; grown && !tour.outOfSteps();) {
        grown = false;
        const QList<int> base = bestOrder;
        const QList<int> chosen = bestChosen;
        for (const int clock : std::as_const(clocks)) {
            if (chosen.contains(clock) || tour.outOfSteps())
                continue;
            if (consider(withClocksInTime(base, {clock}))) {
                bestChosen = chosen + QList<int>{clock};
                grown = true;
            }
        }
    }
    // The steps left go to shaking up the best route when it was put
    // together from the order without clocks.
    if (found && bestOrder.size() > collectibles.size() && bestOrder.size() > ExactPoints) {
        QList<int> order = bestOrder;
        tour.shakeUp(order, route.lowerBound);
        consider(order);
    }

    // A route too slow for a player says nothing of the level until no
    // route at all is shown to be in time. Few places: the exact search
    // over every order and every choice of clocks finds one or proves there
    // is none. Many: even the shortest conceivable route, every clock taken
    // by the first key that could reach it, runs out.
    if (found && route.pace > HumanPace && !stopRequested() && m_wholeLimit) {
        if (collectibles.size() + clocks.size() <= ExactPoints) {
            const auto inTimeOrder = exactInTime(collectibles, clocks, HumanPace);
            if (inTimeOrder)
                consider(*inTimeOrder);
            else
                m_noneInTime = true;
        } else {
            m_noneInTime = !inTime(m_map, dream(clocks, route.lowerBound), HumanPace);
        }
    }
    if (stopRequested()) {
        m_stopped = true;
        m_noneInTime = false;
        return std::nullopt;
    }
    if (!found) {
        m_obstacles.append({Obstacle::Kind::NoRoute, {}});
        return std::nullopt;
    }
    route.shortest = route.keys.size() == route.lowerBound;
    return route;
}

QString LevelSolver::keysFor(const QList<int> &order) const
{
    QString keys;
    int from = 0;
    const LevelGrid &grid = *m_grid;
    const int startAt = grid.index(m_nodes.at(0));
    for (const int node : order) {
        const QPoint target = m_nodes.at(node);
        if (from == 0 && target == m_nodes.at(0)) {
            for (const Arrow::Direction arrow : Arrow::All) {
                const int off = grid.next(startAt, arrow);
                if (off >= 0 && grid.next(off, Arrow::opposite(arrow)) == startAt) {
                    keys += QLatin1Char(Arrow::letter(arrow));
                    keys += QLatin1Char(Arrow::letter(Arrow::opposite(arrow)));
                    break;
                }
            }
        } else {
            keys += grid.path(m_fromNode.at(from), target);
        }
        from = node;
    }

    // On to the cell beside an exit that is nearest, and push into it.
    qsizetype bestBeside = -1;
    for (qsizetype i = 0; i < m_exitBeside.size(); ++i) {
        if (bestBeside < 0
            || m_fromNode.at(from).at(m_exitBeside.at(i)) < m_fromNode.at(from).at(m_exitBeside.at(bestBeside)))
            bestBeside = i;
    }
    keys += grid.path(m_fromNode.at(from), grid.cellAt(m_exitBeside.at(bestBeside)));
    keys += QLatin1Char(Arrow::letter(m_exitPush.at(bestBeside)));
    return keys;
}

QList<int> LevelSolver::withClocksInTime(QList<int> order, const QList<int> &clocks) const
{
    for (const int clock : clocks) {
        QList<int> best;
        double bestPace = 0;
        int bestCost = 0;
        for (qsizetype at = 0; at <= order.size(); ++at) {
            QList<int> tried = order;
            tried.insert(at, clock);
            const double pace = wholeSecondsPace(tried);
            const int moves = m_tour->cost(tried);
            if (best.isEmpty() || pace < bestPace || (pace == bestPace && moves < bestCost)) {
                best = tried;
                bestPace = pace;
                bestCost = moves;
            }
        }
        m_tour->spend(order.size() * order.size());
        order = best;
    }
    return order;
}

double LevelSolver::wholeSecondsPace(const QList<int> &order) const
{
    // While j clocks are taken, the clock shows limit + j * 15 seconds, so
    // the keys up to the next clock (or the push into the exit) must all
    // fall before that many seconds have passed.
    const std::optional<double> &limit = m_wholeLimit;
    if (!limit)
        return 0;
    double pace = 0;
    int moves = 0;
    int from = 0;
    int taken = 0;
    for (const int node : order) {
        moves += distance(from, node);
        from = node;
        if (node > m_collectibles) {
            pace = std::max(pace, (moves - 1) / (*limit + ClockSeconds * taken));
            ++taken;
        }
    }
    moves += toExit(from);
    return std::max(pace, (moves - 1) / (*limit + ClockSeconds * taken));
}

Playthrough LevelSolver::dream(const QList<int> &clocks, int bound) const
{
    Playthrough dream;
    dream.keysUsed = bound;
    dream.leftThroughExit = true;
    for (const int clock : clocks)
        dream.clockKeys.append(distance(0, clock) - 1);
    std::sort(dream.clockKeys.begin(), dream.clockKeys.end());
    dream.secondsAdded.fill(ClockSeconds, dream.clockKeys.size());
    return dream;
}

bool LevelSolver::mayBeat(const QList<int> &clocks, int bound, const Route &best) const
{
    const double pace = slowestPace(m_map, dream(clocks, bound));
    return pace < best.pace || (pace == best.pace && bound < best.keys.size());
}

std::optional<QList<int>> LevelSolver::exactInTime(const QList<int> &collectibles, const QList<int> &clocks,
                                                  double pace) const
{
    Q_ASSERT(m_wholeLimit);
    // A route is in time when the last tick before each key still leaves a
    // second on the clock, each clock taken adding its whole seconds.
    QList<int> latest;
    for (qsizetype taken = 0; taken <= clocks.size(); ++taken)
        latest.append(RouteClock::latestMoves(*m_wholeLimit + ClockSeconds * double(taken), pace));
    return m_tour->exactWithin(collectibles, clocks, latest);
}

Playthrough LevelSolver::play(const LevelMap &map, const QString &keys)
{
    Playthrough result;
    result.keysUsed = int(keys.size());
    LevelPlay level(map);
    for (int i = 0; i < keys.size(); ++i) {
        const auto arrow = Arrow::ofLetter(keys.at(i));
        if (!arrow)
            continue;
        const LevelRules::Press press = level.press(*arrow);
        if (press.timeLeft) {
            result.clockKeys.append(i);
            result.secondsAdded.append(press.tile.seconds);
        }
        if (press.leaves) {
            result.leftThroughExit = true;
            result.keysUsed = i + 1;
            break;
        }
    }
    result.cashLeft = level.cashLeft();
    return result;
}

bool LevelSolver::inTime(const LevelMap &map, const Playthrough &playthrough, double pace)
{
    return RouteClock::inTime(map, playthrough, pace);
}

double LevelSolver::slowestPace(const LevelMap &map, const Playthrough &playthrough)
{
    return RouteClock::slowestPace(map, playthrough);
}
