// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelSolver.h"

#include "Arrow.h"
#include "LevelPlay.h"
#include "TileRule.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

namespace {

constexpr int Unreachable = std::numeric_limits<int>::max() / 4;
// Ends of a tour that are not places to visit: where the figure starts and
// the push into the nearest exit.
constexpr int Start = -1;
constexpr int Exit = -2;
// Shake-ups of the best tour before local search gives up on a big level.
constexpr int Kicks = 200;
// Every clock subset is tried while there are this few clocks; beyond it,
// none or all of them.
constexpr int ClockSubsetsUpTo = 4;
// Rounds of recharging the places while the bound climbs, and how many
// rounds without a better bound halve the step.
constexpr int BoundRounds = 2000;
constexpr int BoundPatience = 20;

} // namespace

LevelSolver::LevelSolver(const LevelMap &map)
    : m_map(map)
{
}

int LevelSolver::index(const QPoint &cell) const
{
    // One ring of cells round the codes, all walls, so that a start just
    // outside them still has neighbours to look at.
    const int x = cell.x() + 1;
    const int y = cell.y() + 1;
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return -1;
    return y * m_width + x;
}

QPoint LevelSolver::cellAt(int index) const
{
    return QPoint(index % m_width - 1, index / m_width - 1);
}

QList<int> LevelSolver::distancesFrom(const QPoint &cell) const
{
    QList<int> distances(m_width * m_height, Unreachable);
    const int source = index(cell);
    if (source < 0)
        return distances;
    QList<int> queue{source};
    distances[source] = 0;
    for (qsizetype head = 0; head < queue.size(); ++head) {
        const int here = queue.at(head);
        const QPoint at = cellAt(here);
        for (const Arrow::Direction arrow : Arrow::All) {
            const QPoint next = at + Arrow::step(arrow);
            const int there = index(next);
            if (there < 0 || distances.at(there) != Unreachable || !m_map.isWalkable(next))
                continue;
            distances[there] = distances.at(here) + 1;
            queue.append(there);
        }
    }
    return distances;
}

void LevelSolver::measure()
{
    m_width = m_map.columns() + 2;
    m_height = m_map.rows() + 2;
    m_nodes = QList<QPoint>{*m_map.start()} + m_map.collectibles();
    m_collectibles = int(m_nodes.size()) - 1;
    m_nodes += m_map.clocks();
    const QPoint start = m_nodes.at(0);

    m_fromNode.clear();
    for (const QPoint &node : std::as_const(m_nodes))
        m_fromNode.append(distancesFrom(node));

    m_exitBeside.clear();
    for (const QPoint &exit : m_map.exits()) {
        for (const Arrow::Direction arrow : Arrow::All) {
            const QPoint beside = exit + Arrow::step(arrow);
            // The figure may start beside an exit on a cell it could not
            // walk back onto.
            if (index(beside) >= 0 && (m_map.isWalkable(beside) || beside == start))
                m_exitBeside.append(index(beside));
        }
    }

    // Something lying under the start is only taken by stepping off the cell
    // and back onto it.
    int backToStart = Unreachable;
    for (const Arrow::Direction arrow : Arrow::All) {
        if (m_map.isWalkable(start + Arrow::step(arrow)))
            backToStart = 2;
    }

    const int count = int(m_nodes.size());
    m_between.fill(Unreachable, count * count);
    m_toExit.fill(Unreachable, count);
    for (int from = 0; from < count; ++from) {
        for (int to = 0; to < count; ++to) {
            const QPoint target = m_nodes.at(to);
            const int at = index(target);
            if (from == 0 && target == start)
                m_between[from * count + to] = backToStart;
            else if (at >= 0)
                m_between[from * count + to] = m_fromNode.at(from).at(at);
        }
        for (const int beside : std::as_const(m_exitBeside))
            m_toExit[from] = std::min(m_toExit.at(from), m_fromNode.at(from).at(beside) + 1);
    }
}

int LevelSolver::cost(const QList<int> &order) const
{
    int total = 0;
    int from = 0;
    for (const int node : order) {
        total += distance(from, node);
        from = node;
    }
    return total + toExit(from);
}

int LevelSolver::lowerBound(const QList<int> &nodes, int known) const
{
    // Any way through is a chain from the start over every place to visit to
    // the exit: a spanning tree whose ends are the start and the exit and
    // whose every other place has two neighbours. The lightest spanning tree
    // is never heavier; charging each place for the neighbours it has beyond
    // its share, and refunding the charge, lifts the tree's weight toward
    // the chain's without ever passing it.
    QList<int> all{0};
    all += nodes;
    all.append(Exit);
    const qsizetype count = all.size();
    const auto weight = [this](int a, int b) {
        if (a == Exit)
            return toExit(b);
        if (b == Exit)
            return toExit(a);
        return std::min(distance(a, b), distance(b, a));
    };
    QList<int> weights(count * count);
    for (qsizetype a = 0; a < count; ++a) {
        for (qsizetype b = 0; b < count; ++b)
            weights[a * count + b] = a == b ? 0 : weight(all.at(a), all.at(b));
    }
    const auto share = [count](qsizetype i) { return i == 0 || i == count - 1 ? 1 : 2; };

    QList<double> charge(count, 0);
    QList<double> best(count);
    QList<qsizetype> parent(count);
    QList<bool> inTree(count);
    QList<int> degree(count);
    double bound = 0;
    // How far one round moves the charges, as a share of the step that
    // would close the gap to the known way in one go.
    double boldness = 2;
    int sinceBetter = 0;
    for (int round = 0; round < BoundRounds; ++round) {
        std::fill(best.begin(), best.end(), std::numeric_limits<double>::infinity());
        std::fill(inTree.begin(), inTree.end(), false);
        std::fill(degree.begin(), degree.end(), 0);
        best[0] = 0;
        parent[0] = -1;
        double tree = 0;
        for (qsizetype added = 0; added < count; ++added) {
            qsizetype next = -1;
            for (qsizetype i = 0; i < count; ++i) {
                if (!inTree.at(i) && (next < 0 || best.at(i) < best.at(next)))
                    next = i;
            }
            inTree[next] = true;
            tree += best.at(next);
            if (parent.at(next) >= 0) {
                ++degree[next];
                ++degree[parent.at(next)];
            }
            for (qsizetype i = 0; i < count; ++i) {
                const double through = weights.at(next * count + i) + charge.at(next) + charge.at(i);
                if (!inTree.at(i) && through < best.at(i)) {
                    best[i] = through;
                    parent[i] = next;
                }
            }
        }
        double refund = 0;
        double off = 0;
        for (qsizetype i = 0; i < count; ++i) {
            refund += charge.at(i) * share(i);
            off += double(degree.at(i) - share(i)) * (degree.at(i) - share(i));
        }
        const double weightNow = tree - refund;
        if (weightNow > bound + 1e-9) {
            bound = weightNow;
            sinceBetter = 0;
        } else if (++sinceBetter >= BoundPatience) {
            boldness /= 2;
            sinceBetter = 0;
        }
        // A chain: nothing left to charge; or the bound meets a known route.
        if (off == 0 || std::ceil(bound - 1e-6) >= known)
            break;
        const double step = boldness * std::max(1.0, known - weightNow) / off;
        for (qsizetype i = 0; i < count; ++i)
            charge[i] += step * (degree.at(i) - share(i));
    }
    return std::min(known, int(std::ceil(bound - 1e-6)));
}

QList<int> LevelSolver::exactOrder(const QList<int> &nodes, int &length) const
{
    const int n = int(nodes.size());
    const int full = (1 << n) - 1;
    // Shortest way from the start through the visited set, ending at node j.
    QList<int> best((full + 1) * std::max(n, 1), Unreachable);
    QList<int> came(best.size(), -1);
    for (int j = 0; j < n; ++j)
        best[(1 << j) * n + j] = distance(0, nodes.at(j));
    for (int visited = 1; visited <= full; ++visited) {
        for (int j = 0; j < n; ++j) {
            const int here = best.at(visited * n + j);
            if (!(visited & (1 << j)) || here >= Unreachable)
                continue;
            for (int k = 0; k < n; ++k) {
                if (visited & (1 << k))
                    continue;
                const int step = distance(nodes.at(j), nodes.at(k));
                const int slot = (visited | (1 << k)) * n + k;
                if (here + step < best.at(slot)) {
                    best[slot] = here + step;
                    came[slot] = j;
                }
            }
        }
    }
    if (n == 0) {
        length = toExit(0);
        return {};
    }
    int last = 0;
    length = Unreachable;
    for (int j = 0; j < n; ++j) {
        const int total = best.at(full * n + j) + toExit(nodes.at(j));
        if (total < length) {
            length = total;
            last = j;
        }
    }
    QList<int> order;
    for (int visited = full, j = last; j >= 0;) {
        order.prepend(nodes.at(j));
        const int previous = came.at(visited * n + j);
        visited &= ~(1 << j);
        j = previous;
    }
    return order;
}

QList<int> LevelSolver::nearestFirst(const QList<int> &nodes) const
{
    QList<int> order;
    QList<int> left = nodes;
    int from = 0;
    while (!left.isEmpty()) {
        qsizetype nearest = 0;
        for (qsizetype i = 1; i < left.size(); ++i) {
            if (distance(from, left.at(i)) < distance(from, left.at(nearest)))
                nearest = i;
        }
        from = left.takeAt(nearest);
        order.append(from);
    }
    return order;
}

QList<int> LevelSolver::searchedOrder(const QList<int> &nodes, int enough) const
{
    const auto link = [this](int a, int b) {
        if (b == Exit)
            return toExit(a == Start ? 0 : a);
        return distance(a == Start ? 0 : a, b);
    };

    QList<int> order = nearestFirst(nodes);

    const auto improve = [&](QList<int> &tour) {
        const int n = int(tour.size());
        bool improved = true;
        while (improved) {
            improved = false;
            // Reverse a stretch of the tour.
            for (int i = 0; i < n; ++i) {
                const int before = i == 0 ? Start : tour.at(i - 1);
                for (int j = i + 1; j < n; ++j) {
                    const int after = j == n - 1 ? Exit : tour.at(j + 1);
                    const int now = link(before, tour.at(i)) + link(tour.at(j), after);
                    const int then = link(before, tour.at(j)) + link(tour.at(i), after);
                    if (then < now) {
                        std::reverse(tour.begin() + i, tour.begin() + j + 1);
                        improved = true;
                    }
                }
            }
            // Move a stretch of one to three places elsewhere, either way round.
            for (int length = 1; length <= 3; ++length) {
                for (int i = 0; i + length <= n; ++i) {
                    const int first = tour.at(i);
                    const int last = tour.at(i + length - 1);
                    const int before = i == 0 ? Start : tour.at(i - 1);
                    const int after = i + length == n ? Exit : tour.at(i + length);
                    const int gain = link(before, first) + link(last, after) - link(before, after);
                    // Gap g lies between places g - 1 and g of the tour; the
                    // gaps at either end of the stretch are where it stands.
                    int bestDelta = 0;
                    int bestGap = -1;
                    bool bestReversed = false;
                    for (int gap = 0; gap <= n; ++gap) {
                        if (gap >= i && gap <= i + length)
                            continue;
                        const int c = gap == 0 ? Start : tour.at(gap - 1);
                        const int d = gap == n ? Exit : tour.at(gap);
                        const int forward = link(c, first) + link(last, d) - link(c, d) - gain;
                        const int backward = link(c, last) + link(first, d) - link(c, d) - gain;
                        if (forward < bestDelta || backward < bestDelta) {
                            bestReversed = backward < forward;
                            bestDelta = std::min(forward, backward);
                            bestGap = gap;
                        }
                    }
                    if (bestGap < 0)
                        continue;
                    QList<int> stretch = tour.mid(i, length);
                    if (bestReversed)
                        std::reverse(stretch.begin(), stretch.end());
                    tour.remove(i, length);
                    const int at = bestGap > i ? bestGap - length : bestGap;
                    for (int k = 0; k < length; ++k)
                        tour.insert(at + k, stretch.at(k));
                    improved = true;
                }
            }
        }
    };

    improve(order);

    // Shake the best tour up by swapping two of its stretches, and keep the
    // result when local search gets it no longer than before. The shake-ups
    // are drawn from a fixed seed, so a level always gets the same route.
    std::mt19937 draw(20);
    int bestCost = cost(order);
    for (int kick = 0; kick < Kicks && bestCost > enough; ++kick) {
        const int n = int(order.size());
        std::uniform_int_distribution<int> cut(1, n - 1);
        int cuts[3] = {cut(draw), cut(draw), cut(draw)};
        std::sort(std::begin(cuts), std::end(cuts));
        if (cuts[0] == cuts[1] || cuts[1] == cuts[2])
            continue;
        QList<int> shaken = order.mid(0, cuts[0]);
        shaken += order.mid(cuts[1], cuts[2] - cuts[1]);
        shaken += order.mid(cuts[0], cuts[1] - cuts[0]);
        shaken += order.mid(cuts[2]);
        improve(shaken);
        const int shakenCost = cost(shaken);
        if (shakenCost <= bestCost) {
            bestCost = shakenCost;
            order = shaken;
        }
    }
    return order;
}

QString LevelSolver::path(int from, const QPoint &to) const
{
    // Walk back from the target along falling distances, then turn the
    // steps round.
    const QList<int> &distances = m_fromNode.at(from);
    QString keys;
    QPoint here = to;
    while (distances.at(index(here)) > 0) {
        for (const Arrow::Direction arrow : Arrow::All) {
            const QPoint back = here + Arrow::step(arrow);
            const int at = index(back);
            if (at >= 0 && distances.at(at) == distances.at(index(here)) - 1) {
                keys.prepend(QLatin1Char(Arrow::letter(Arrow::opposite(arrow))));
                here = back;
                break;
            }
        }
    }
    return keys;
}

QString LevelSolver::keysFor(const QList<int> &order) const
{
    QString keys;
    int from = 0;
    for (const int node : order) {
        const QPoint target = m_nodes.at(node);
        if (from == 0 && target == m_nodes.at(0)) {
            for (const Arrow::Direction arrow : Arrow::All) {
                if (m_map.isWalkable(target + Arrow::step(arrow))) {
                    keys += QLatin1Char(Arrow::letter(arrow));
                    keys += QLatin1Char(Arrow::letter(Arrow::opposite(arrow)));
                    break;
                }
            }
        } else {
            keys += path(from, target);
        }
        from = node;
    }

    // On to the cell beside an exit that is nearest, and push into it.
    int bestBeside = -1;
    for (const int beside : m_exitBeside) {
        if (bestBeside < 0 || m_fromNode.at(from).at(beside) < m_fromNode.at(from).at(bestBeside))
            bestBeside = beside;
    }
    const QPoint beside = cellAt(bestBeside);
    keys += path(from, beside);
    for (const Arrow::Direction arrow : Arrow::All) {
        if (TileRule::of(m_map.code(beside + Arrow::step(arrow))).exit) {
            keys += QLatin1Char(Arrow::letter(arrow));
            break;
        }
    }
    return keys;
}

std::optional<Route> LevelSolver::solve()
{
    m_obstacles.clear();
    if (!m_map.start()) {
        m_obstacles.append({Obstacle::Kind::StartOffGrid, {}});
        return std::nullopt;
    }
    if ((m_map.columns() + 2) * (m_map.rows() + 2) > MaxCells) {
        m_obstacles.append({Obstacle::Kind::MapTooBig, {}});
        return std::nullopt;
    }
    if (m_map.collectibles().size() + m_map.clocks().size() + 1 > MaxPoints) {
        m_obstacles.append({Obstacle::Kind::TooManyPlaces, {}});
        return std::nullopt;
    }
    measure();

    QList<int> collectibles;
    for (int node = 1; node <= m_collectibles; ++node) {
        collectibles.append(node);
        if (distance(0, node) >= Unreachable)
            m_obstacles.append({Obstacle::Kind::CannotBeReached, m_nodes.at(node)});
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

    // Which clocks to fetch: any choice while there are few, otherwise none
    // or all of them.
    QList<QList<int>> clockChoices;
    if (clocks.size() <= ClockSubsetsUpTo) {
        for (int subset = 0; subset < (1 << clocks.size()); ++subset) {
            QList<int> chosen;
            for (qsizetype i = 0; i < clocks.size(); ++i) {
                if (subset & (1 << i))
                    chosen.append(clocks.at(i));
            }
            clockChoices.append(chosen);
        }
    } else {
        clockChoices = {{}, clocks};
    }

    if (collectibles.size() <= ExactPoints)
        exactOrder(collectibles, route.lowerBound);
    else
        route.lowerBound = lowerBound(collectibles, cost(nearestFirst(collectibles)));

    bool found = false;
    for (const QList<int> &chosen : std::as_const(clockChoices)) {
        const QList<int> nodes = collectibles + chosen;
        int length = 0;
        // Without clocks no order can beat the lower bound, so the search
        // stops once it meets it.
        const QList<int> order = nodes.size() <= ExactPoints ? exactOrder(nodes, length)
                                                             : searchedOrder(nodes, chosen.isEmpty() ? route.lowerBound : 0);
        const QString keys = keysFor(order);
        const Playthrough playthrough = play(m_map, keys);
        if (!playthrough.leftThroughExit || playthrough.cashLeft != 0)
            continue;
        const double pace = slowestPace(m_map, playthrough);
        if (!found || pace < route.pace || (pace == route.pace && keys.size() < route.keys.size())) {
            found = true;
            route.keys = keys;
            route.pace = pace;
            route.clocks = int(playthrough.clockKeys.size());
        }
    }
    if (!found) {
        m_obstacles.append({Obstacle::Kind::NoRoute, {}});
        return std::nullopt;
    }
    route.shortest = route.keys.size() == route.lowerBound;
    return route;
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
        const double before = level.timeLeft();
        const LevelRules::Press press = level.press(*arrow);
        if (press.timeLeft) {
            result.clockKeys.append(i);
            result.secondsAdded.append(*press.timeLeft - before);
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
    if (!playthrough.leftThroughExit)
        return false;
    // The first key starts the clock; key i falls i / pace seconds later. A
    // tick that falls together with a key is counted first, as the slower
    // of the two outcomes.
    const double end = (playthrough.keysUsed - 1) / pace;
    double timeLeft = map.timeLimit();
    qsizetype clocksTaken = 0;
    for (int second = 1; second <= end; ++second) {
        while (clocksTaken < playthrough.clockKeys.size() && playthrough.clockKeys.at(clocksTaken) / pace < second) {
            timeLeft += playthrough.secondsAdded.at(clocksTaken);
            ++clocksTaken;
        }
        const LevelRules::Tick tick = LevelRules::tick(timeLeft);
        if (tick.timeOver)
            return false;
        timeLeft = tick.timeLeft;
    }
    return true;
}

double LevelSolver::slowestPace(const LevelMap &map, const Playthrough &playthrough)
{
    if (inTime(map, playthrough, MinPace))
        return 0;
    if (!inTime(map, playthrough, MaxPace))
        return std::numeric_limits<double>::infinity();
    double slow = MinPace;
    double fast = MaxPace;
    for (int i = 0; i < 60; ++i) {
        const double middle = (slow + fast) / 2;
        (inTime(map, playthrough, middle) ? fast : slow) = middle;
    }
    return fast;
}
