// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelSolver.h"

#include "Arrow.h"
#include "LevelPlay.h"
#include "LevelRules.h"
#include "TileCodes.h"
#include "TileRule.h"
#include "Twips.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <numeric>
#include <random>

namespace {

constexpr int Unreachable = std::numeric_limits<int>::max() / 4;
// Ends of a tour that are not places to visit: where the figure starts and
// the push into the nearest exit.
constexpr int Start = -1;
constexpr int Exit = -2;
// Shake-ups of the best tour before local search gives up on a big level,
// and how many in a row that find nothing shorter make it give up sooner.
constexpr int Kicks = 200;
constexpr int KickPatience = 100;
// Every clock subset is tried while there are this few clocks; beyond it,
// none, each one alone, all of them, and clocks added one by one while each
// lets the route get out at a slower pace.
constexpr int ClockSubsetsUpTo = 4;
const int ClockSeconds = TileRule::of(TileCodes::Clock).seconds;

// A count the play screen's captions hold exactly, in whole seconds.
bool isWhole(double seconds)
{
    return seconds == std::floor(seconds) && std::abs(seconds) < 1e15;
}
// Rounds of recharging the places while the bound climbs, and how many
// rounds without a better bound halve the step.
constexpr int BoundRounds = 2000;
constexpr int BoundPatience = 20;
// Once a round moves the charges by less than this share of the gap, the
// bound has long stopped climbing by whole moves.
constexpr double SettledBoldness = 1.0 / 1024;

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
        for (const Arrow::Direction arrow : Arrow::All) {
            const int there = next(here, arrow);
            if (there < 0 || distances.at(there) != Unreachable)
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
    const int cells = m_width * m_height;
    // Every search from a place asks of each cell again, so each cell's
    // tile and each step from it are worked out once, by the play screen's
    // positions.
    QList<bool> walkable(cells);
    for (int at = 0; at < cells; ++at)
        walkable[at] = m_map.isWalkable(cellAt(at));
    m_next.fill(-1, cells * 4);
    for (int at = 0; at < cells; ++at) {
        for (const Arrow::Direction arrow : Arrow::All) {
            const QPoint to = LevelRules::target(cellAt(at) * Twips::Cell, arrow);
            if (to.x() % Twips::Cell != 0 || to.y() % Twips::Cell != 0)
                continue;
            const int there = index(to / Twips::Cell);
            if (there >= 0 && walkable.at(there))
                m_next[at * 4 + arrow] = there;
        }
    }
    m_wholeLimit = wholeTimeLimit();
    m_nodes = QList<QPoint>{*m_map.start()} + m_map.collectibles();
    m_collectibles = int(m_nodes.size()) - 1;
    m_nodes += m_map.clocks();
    const QPoint start = m_nodes.at(0);

    m_fromNode.clear();
    for (const QPoint &node : std::as_const(m_nodes))
        m_fromNode.append(distancesFrom(node));

    m_exitBeside.clear();
    m_exitPush.clear();
    for (const QPoint &exit : m_map.exits()) {
        for (const Arrow::Direction arrow : Arrow::All) {
            const QPoint beside = exit - Arrow::step(arrow);
            const int at = index(beside);
            // The figure may start beside an exit on a cell it could not
            // walk back onto.
            if (at < 0 || !(walkable.at(at) || beside == start))
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
    const int startAt = index(start);
    for (const Arrow::Direction arrow : Arrow::All) {
        if (startAt >= 0 && next(startAt, arrow) >= 0 && next(next(startAt, arrow), Arrow::opposite(arrow)) == startAt)
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

    const int width = count + 1;
    m_links.fill(Unreachable, width * width);
    m_linksInto.fill(Unreachable, width * width);
    for (int from = 0; from < count; ++from) {
        for (int to = 0; to <= count; ++to) {
            const int moves = to == count ? toExit(from) : distance(from, to);
            m_links[from * width + to] = moves;
            m_linksInto[to * width + from] = moves;
        }
    }
}

bool LevelSolver::outOfSteps() const
{
    return m_steps >= m_stepLimit || stopRequested();
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
    QList<int> degree(count);
    // The places not yet in the tree, side by side with how near each one
    // is to it, through which place, and its charge, so that growing the
    // tree reads them in one sweep.
    QList<qsizetype> outside(count);
    QList<double> nearness(count);
    QList<qsizetype> through(count);
    QList<double> outsideCharge(count);
    double bound = 0;
    // How far one round moves the charges, as a share of the step that
    // would close the gap to the known way in one go.
    double boldness = 2;
    int sinceBetter = 0;
    for (int round = 0; round < BoundRounds; ++round) {
        std::fill(degree.begin(), degree.end(), 0);
        qsizetype left = count - 1;
        qsizetype *const place = outside.data();
        double *const near = nearness.data();
        qsizetype *const via = through.data();
        double *const placeCharge = outsideCharge.data();
        for (qsizetype at = 0; at < left; ++at) {
            place[at] = at + 1;
            near[at] = std::numeric_limits<double>::infinity();
            placeCharge[at] = charge.at(at + 1);
        }
        // Grow the tree from the start, each time by the place nearest to
        // it, the first of equally near ones; the place just added updates
        // how near the others are on the same sweep that looks for the
        // nearest.
        qsizetype added = 0;
        double tree = 0;
        while (left > 0) {
            const int *const row = weights.constData() + added * count;
            const double own = charge.at(added);
            for (qsizetype at = 0; at < left; ++at) {
                const double joining = row[place[at]] + own + placeCharge[at];
                const bool nearer = joining < near[at];
                near[at] = nearer ? joining : near[at];
                via[at] = nearer ? added : via[at];
            }
            qsizetype nearest = 0;
            double nearestBy = near[0];
            qsizetype nearestPlace = place[0];
            for (qsizetype at = 1; at < left; ++at) {
                if (near[at] < nearestBy || (near[at] == nearestBy && place[at] < nearestPlace)) {
                    nearest = at;
                    nearestBy = near[at];
                    nearestPlace = place[at];
                }
            }
            added = place[nearest];
            tree += near[nearest];
            ++degree[added];
            ++degree[via[nearest]];
            --left;
            place[nearest] = place[left];
            near[nearest] = near[left];
            via[nearest] = via[left];
            placeCharge[nearest] = placeCharge[left];
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
        // A chain: nothing left to charge; or the bound meets a known route;
        // or it has settled; or the search has no time left for it. The
        // bound holds whenever it stops.
        spend(count * count);
        if (off == 0 || std::ceil(bound - 1e-6) >= known || boldness < SettledBoldness || outOfSteps())
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
        if (stopRequested())
            return {};
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
    return walkBack(nodes, came, full, last);
}

QList<int> LevelSolver::walkBack(const QList<int> &nodes, const QList<int> &came, int visited, int last)
{
    const qsizetype n = nodes.size();
    QList<int> order;
    for (int j = last; j >= 0;) {
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

void LevelSolver::shorten(QList<int> &order) const
{
    // The tour between its two ends, the start and the push into the exit,
    // so that every leg is a look-up in one row of a table.
    const int n = int(order.size());
    const qsizetype width = m_nodes.size() + 1;
    QList<int> tour{0};
    tour += order;
    tour.append(exitNode());
    int *const place = tour.data();
    const int *const from = m_links.constData();
    const int *const into = m_linksInto.constData();
    const auto leg = [from, width](int a, int b) { return from[a * width + b]; };
    // Gap g lies between places g and g + 1 of the tour.
    QList<int> gaps(n + 1);
    int *const gap = gaps.data();
    const auto measureGaps = [&] {
        for (int g = 0; g <= n; ++g)
            gap[g] = leg(place[g], place[g + 1]);
    };

    bool improved = true;
    while (improved && !outOfSteps()) {
        improved = false;
        // A round looks at every pair of places, and at every gap for every
        // stretch.
        spend(qint64(n + 1) * (n + 1) * 4);
        // Reverse a stretch of the tour.
        for (int i = 1; i <= n; ++i) {
            const int *const fromBefore = from + place[i - 1] * width;
            for (int j = i + 1; j <= n; ++j) {
                const int now = fromBefore[place[i]] + leg(place[j], place[j + 1]);
                const int then = fromBefore[place[j]] + leg(place[i], place[j + 1]);
                if (then < now) {
                    std::reverse(place + i, place + j + 1);
                    improved = true;
                }
            }
        }
        // Move a stretch of one to three places elsewhere, either way round.
        measureGaps();
        for (int length = 1; length <= 3; ++length) {
            for (int i = 1; i + length <= n + 1; ++i) {
                const int first = place[i];
                const int last = place[i + length - 1];
                const int gain = gap[i - 1] + gap[i + length - 1] - leg(place[i - 1], place[i + length]);
                const int *const toFirst = into + first * width;
                const int *const toLast = into + last * width;
                const int *const fromFirst = from + first * width;
                const int *const fromLast = from + last * width;
                int bestDelta = 0;
                int bestGap = -1;
                bool bestReversed = false;
                const auto tryGap = [&](int g) {
                    const int c = place[g];
                    const int d = place[g + 1];
                    const int forward = toFirst[c] + fromLast[d] - gap[g] - gain;
                    const int backward = toLast[c] + fromFirst[d] - gap[g] - gain;
                    if (forward < bestDelta || backward < bestDelta) {
                        bestReversed = backward < forward;
                        bestDelta = std::min(forward, backward);
                        bestGap = g;
                    }
                };
                // The gaps at either end of the stretch are where it stands.
                for (int g = 0; g < i - 1; ++g)
                    tryGap(g);
                for (int g = i + length; g <= n; ++g)
                    tryGap(g);
                if (bestGap < 0)
                    continue;
                if (bestGap > i) {
                    std::rotate(place + i, place + i + length, place + bestGap + 1);
                    if (bestReversed)
                        std::reverse(place + bestGap + 1 - length, place + bestGap + 1);
                } else {
                    std::rotate(place + bestGap + 1, place + i, place + i + length);
                    if (bestReversed)
                        std::reverse(place + bestGap + 1, place + bestGap + 1 + length);
                }
                measureGaps();
                improved = true;
            }
        }
    }
    order = tour.mid(1, n);
}

void LevelSolver::shakeUp(QList<int> &order, int enough) const
{
    // Shake the best tour up by swapping two of its stretches, and keep the
    // result when local search gets it no longer than before. The shake-ups
    // are drawn from a fixed seed, so a level always gets the same route.
    std::mt19937 draw(20);
    int bestCost = cost(order);
    int sinceShorter = 0;
    for (int kick = 0; kick < Kicks && sinceShorter < KickPatience && bestCost > enough && !outOfSteps(); ++kick) {
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
        shorten(shaken);
        const int shakenCost = cost(shaken);
        sinceShorter = shakenCost < bestCost ? 0 : sinceShorter + 1;
        if (shakenCost <= bestCost) {
            bestCost = shakenCost;
            order = shaken;
        }
    }
}

QList<int> LevelSolver::withClocks(QList<int> order, const QList<int> &clocks) const
{
    for (const int clock : clocks) {
        qsizetype bestAt = 0;
        int bestDetour = std::numeric_limits<int>::max();
        for (qsizetype at = 0; at <= order.size(); ++at) {
            const int before = at == 0 ? 0 : order.at(at - 1);
            const int after = at == order.size() ? exitNode() : order.at(at);
            const int detour = link(before, clock) + link(clock, after) - link(before, after);
            if (detour < bestDetour) {
                bestDetour = detour;
                bestAt = at;
            }
        }
        order.insert(bestAt, clock);
    }
    return order;
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
            const int moves = cost(tried);
            if (best.isEmpty() || pace < bestPace || (pace == bestPace && moves < bestCost)) {
                best = tried;
                bestPace = pace;
                bestCost = moves;
            }
        }
        spend(order.size() * order.size());
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

std::optional<double> LevelSolver::wholeTimeLimit() const
{
    const double limit = m_map.timeLimit();
    const double whole = std::round(limit);
    if (whole < 1 || !isWhole(whole))
        return std::nullopt;
    // A limit a hair off a whole number is written back whole at the first
    // tick, clocks taken before it or not; then the count is whole for good.
    double timeLeft = limit;
    for (qsizetype clocks = 0; clocks <= m_map.clocks().size(); ++clocks) {
        if (LevelRules::tick(timeLeft).timeLeft != whole + ClockSeconds * double(clocks) - 1)
            return std::nullopt;
        timeLeft = LevelRules::withSeconds(timeLeft, ClockSeconds);
    }
    return whole;
}

std::optional<QList<int>> LevelSolver::exactInTime(const QList<int> &nodes, double pace) const
{
    const std::optional<double> &limit = m_wholeLimit;
    Q_ASSERT(limit);
    // A route is in time when the last tick before each key still leaves a
    // second on the clock. A way into a set of places that ends at a place
    // with fewer moves leaves every later key more time, so the fewest
    // moves in time are all each set and end need to keep.
    const auto inTimeAfter = [&](int moves, int clocks) {
        return moves <= 0 || std::floor((moves - 1) / pace) <= *limit + ClockSeconds * clocks - 1;
    };
    const int n = int(nodes.size());
    int mustTake = 0;
    int clockSet = 0;
    for (int j = 0; j < n; ++j)
        (nodes.at(j) <= m_collectibles ? mustTake : clockSet) |= 1 << j;
    if (n == 0) {
        if (inTimeAfter(toExit(0), 0))
            return QList<int>{};
        return std::nullopt;
    }
    const int full = (1 << n) - 1;
    QList<int> best((full + 1) * n, Unreachable);
    QList<int> came(best.size(), -1);
    for (int j = 0; j < n; ++j) {
        const int moves = distance(0, nodes.at(j));
        if (moves < Unreachable && inTimeAfter(moves, 0))
            best[(1 << j) * n + j] = moves;
    }
    int bestTotal = Unreachable;
    int bestVisited = 0;
    int bestLast = -1;
    for (int visited = 1; visited <= full; ++visited) {
        if (stopRequested())
            return std::nullopt;
        const int clocks = std::popcount(unsigned(visited & clockSet));
        for (int j = 0; j < n; ++j) {
            const int here = best.at(visited * n + j);
            if (!(visited & (1 << j)) || here >= Unreachable)
                continue;
            if ((visited & mustTake) == mustTake) {
                const int total = here + toExit(nodes.at(j));
                if (total < bestTotal && inTimeAfter(total, clocks)) {
                    bestTotal = total;
                    bestVisited = visited;
                    bestLast = j;
                }
            }
            for (int k = 0; k < n; ++k) {
                if (visited & (1 << k))
                    continue;
                const int moves = here + distance(nodes.at(j), nodes.at(k));
                const int slot = (visited | (1 << k)) * n + k;
                if (moves < best.at(slot) && inTimeAfter(moves, clocks)) {
                    best[slot] = moves;
                    came[slot] = j;
                }
            }
        }
    }
    if (bestLast < 0)
        return std::nullopt;
    return walkBack(nodes, came, bestVisited, bestLast);
}

QString LevelSolver::path(int from, const QPoint &to) const
{
    // Walk back from the target along falling distances, then turn the
    // steps round.
    const QList<int> &distances = m_fromNode.at(from);
    QString keys;
    int here = index(to);
    while (distances.at(here) > 0) {
        for (const Arrow::Direction arrow : Arrow::All) {
            const int back = index(cellAt(here) + Arrow::step(arrow));
            const Arrow::Direction key = Arrow::opposite(arrow);
            if (back >= 0 && distances.at(back) == distances.at(here) - 1 && next(back, key) == here) {
                keys.prepend(QLatin1Char(Arrow::letter(key)));
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
    const int startAt = index(m_nodes.at(0));
    for (const int node : order) {
        const QPoint target = m_nodes.at(node);
        if (from == 0 && target == m_nodes.at(0)) {
            for (const Arrow::Direction arrow : Arrow::All) {
                const int off = next(startAt, arrow);
                if (off >= 0 && next(off, Arrow::opposite(arrow)) == startAt) {
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
    qsizetype bestBeside = -1;
    for (qsizetype i = 0; i < m_exitBeside.size(); ++i) {
        if (bestBeside < 0
            || m_fromNode.at(from).at(m_exitBeside.at(i)) < m_fromNode.at(from).at(m_exitBeside.at(bestBeside)))
            bestBeside = i;
    }
    keys += path(from, cellAt(m_exitBeside.at(bestBeside)));
    keys += QLatin1Char(Arrow::letter(m_exitPush.at(bestBeside)));
    return keys;
}

std::optional<Route> LevelSolver::solve()
{
    m_steps = 0;
    allow(SearchSteps);
    m_stopped = false;
    m_noneInTime = false;
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
        plainOrder = exactOrder(collectibles, route.lowerBound);
    } else {
        const QList<int> nearest = nearestFirst(collectibles);
        plainOrder = nearest;
        shorten(plainOrder);
        // The bound may take a quarter of the steps, however many finding
        // the places took.
        allow(SearchSteps / 4);
        route.lowerBound = lowerBound(collectibles, cost(nearest));
        allow(clocks.isEmpty() ? SearchSteps : std::max(qint64(0), half - m_steps));
        shakeUp(plainOrder, route.lowerBound);
        allow(SearchSteps);
    }

    bool found = false;
    QList<int> bestOrder;
    const auto consider = [&](const QList<int> &order) {
        const QString keys = keysFor(order);
        const Playthrough playthrough = play(m_map, keys);
        spend(keys.size());
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
            order = exactOrder(collectibles + chosen, length);
        } else {
            order = withClocks(plainOrder, chosen);
            shorten(order);
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
    for (bool grown = !inTimeAlready && clocks.size() > ClockSubsetsUpTo; grown && !outOfSteps();) {
        grown = false;
        const QList<int> base = bestOrder;
        const QList<int> chosen = bestChosen;
        for (const int clock : std::as_const(clocks)) {
            if (chosen.contains(clock) || outOfSteps())
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
        shakeUp(order, route.lowerBound);
        consider(order);
    }

    // A route too slow for a player says nothing of the level until no
    // route at all is shown to be in time. Few places: the exact search
    // over every order and every choice of clocks finds one or proves there
    // is none. Many: even the shortest conceivable route, every clock taken
    // by the first key that could reach it, runs out.
    if (found && route.pace > HumanPace && !stopRequested() && m_wholeLimit) {
        if (collectibles.size() + clocks.size() <= ExactPoints) {
            const auto inTimeOrder = exactInTime(collectibles + clocks, HumanPace);
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
    if (!playthrough.leftThroughExit)
        return false;
    // The first key starts the clock; key i falls i / pace seconds later. A
    // tick that falls together with a key is counted first, as the slower
    // of the two outcomes.
    const double end = (playthrough.keysUsed - 1) / pace;
    const qsizetype clocks = playthrough.clockKeys.size();
    double timeLeft = map.timeLimit();
    qsizetype clocksTaken = 0;
    for (double second = 1; second <= end;) {
        while (clocksTaken < clocks && playthrough.clockKeys.at(clocksTaken) / pace < second) {
            timeLeft = LevelRules::withSeconds(timeLeft, playthrough.secondsAdded.at(clocksTaken));
            ++clocksTaken;
        }
        // From zero or below, with no clock left to take, the count never
        // meets 0 again.
        if (timeLeft <= 0 && clocksTaken == clocks)
            return true;
        if (isWhole(timeLeft)) {
            // A whole count falls by one a tick, exactly as the ticks
            // themselves would have it, until the next clock comes: it meets
            // 0 after as many ticks as it shows.
            const double nextClock =
                clocksTaken < clocks ? std::floor(playthrough.clockKeys.at(clocksTaken) / pace) + 1 : end + 1;
            const double lastTick = std::min(nextClock - 1, std::floor(end));
            if (timeLeft >= 1 && second + timeLeft - 1 <= lastTick)
                return false;
            timeLeft -= lastTick - second + 1;
            second = lastTick + 1;
            continue;
        }
        const LevelRules::Tick tick = LevelRules::tick(timeLeft);
        if (tick.timeOver)
            return false;
        timeLeft = tick.timeLeft;
        ++second;
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
