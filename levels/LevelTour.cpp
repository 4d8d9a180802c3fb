// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelTour.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <random>

namespace {

constexpr int Unreachable = LevelGrid::Unreachable;
// The far end of a tour that is no place to visit: the push into the
// nearest exit.
constexpr int Exit = -2;
// Shake-ups of the best tour before local search gives up on a big level,
// and how many in a row that find nothing shorter make it give up sooner.
constexpr int Kicks = 200;
constexpr int KickPatience = 100;
// Rounds of recharging the places while the bound climbs, and how many
// rounds without a better bound halve the step.
constexpr int BoundRounds = 2000;
constexpr int BoundPatience = 20;
// Once a round moves the charges by less than this share of the gap, the
// bound has long stopped climbing by whole moves.
constexpr double SettledBoldness = 1.0 / 1024;

} // namespace

LevelTour::LevelTour(const QList<int> &between, const QList<int> &toExit)
    : m_nodes(int(toExit.size()))
    , m_between(between)
    , m_toExit(toExit)
{
    const int width = m_nodes + 1;
    m_links.fill(Unreachable, width * width);
    m_linksInto.fill(Unreachable, width * width);
    for (int from = 0; from < m_nodes; ++from) {
        for (int to = 0; to <= m_nodes; ++to) {
            const int moves = to == m_nodes ? toExit.at(from) : distance(from, to);
            m_links[from * width + to] = moves;
            m_linksInto[to * width + from] = moves;
        }
    }
}

int LevelTour::cost(const QList<int> &order) const
{
    int total = 0;
    int from = 0;
    for (const int node : order) {
        total += distance(from, node);
        from = node;
    }
    return total + toExit(from);
}

QList<int> LevelTour::exactOrder(const QList<int> &nodes, int &length) const
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

std::optional<QList<int>> LevelTour::exactWithin(const QList<int> &mustTake, const QList<int> &mayTake,
                                                 const QList<int> &latest) const
{
    // A way into a set of places that ends at a place with fewer moves
    // meets every later deadline at least as well, so the fewest moves
    // within the deadlines are all each set and end need to keep.
    const auto inTimeAfter = [&latest](int moves, int taken) { return moves <= latest.at(taken); };
    const QList<int> nodes = mustTake + mayTake;
    const int n = int(nodes.size());
    const int mustSet = (1 << mustTake.size()) - 1;
    const int maySet = ((1 << n) - 1) & ~mustSet;
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
        const int taken = std::popcount(unsigned(visited & maySet));
        for (int j = 0; j < n; ++j) {
            const int here = best.at(visited * n + j);
            if (!(visited & (1 << j)) || here >= Unreachable)
                continue;
            if ((visited & mustSet) == mustSet) {
                const int total = here + toExit(nodes.at(j));
                if (total < bestTotal && inTimeAfter(total, taken)) {
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
                if (moves < best.at(slot) && inTimeAfter(moves, taken)) {
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

QList<int> LevelTour::walkBack(const QList<int> &nodes, const QList<int> &came, int visited, int last)
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

int LevelTour::lowerBound(const QList<int> &nodes, int known) const
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

QList<int> LevelTour::nearestFirst(const QList<int> &nodes) const
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

void LevelTour::shorten(QList<int> &order) const
{
    // The tour between its two ends, the start and the push into the exit,
    // so that every leg is a look-up in one row of a table.
    const int n = int(order.size());
    const qsizetype width = m_nodes + 1;
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

void LevelTour::shakeUp(QList<int> &order, int enough) const
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

QList<int> LevelTour::withPlaces(QList<int> order, const QList<int> &extra) const
{
    for (const int place : extra) {
        qsizetype bestAt = 0;
        int bestDetour = std::numeric_limits<int>::max();
        for (qsizetype at = 0; at <= order.size(); ++at) {
            const int before = at == 0 ? 0 : order.at(at - 1);
            const int after = at == order.size() ? exitNode() : order.at(at);
            const int detour = link(before, place) + link(place, after) - link(before, after);
            if (detour < bestDetour) {
                bestDetour = detour;
                bestAt = at;
            }
        }
        order.insert(bestAt, place);
    }
    return order;
}
