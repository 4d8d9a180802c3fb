// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LevelGrid.h"

#include <QList>

#include <algorithm>
#include <atomic>
#include <optional>

// The order in which to visit the places of a level, over a table of the
// moves between them: node 0 is where the figure starts, and every tour ends
// with a push into the nearest exit. Few places get the shortest order there
// is; many get one that local search has shortened, and a bound no order can
// beat. Every part of the search spends from one count of steps, so that a
// level gets the same order on every machine and under any load.
class LevelTour
{
public:
    // How many steps a whole search may take in looking for shorter orders
    // before it settles for the best found so far: a count, not a time, so
    // that the answer never depends on the machine. It is sized so that the
    // biggest maps a designer makes are judged within half a second; the
    // built-in levels need a small part of it.
    static constexpr qint64 SearchSteps = 150'000'000;

    // between holds the moves from each node to each node, row by row;
    // toExit the moves from each node to a push into the nearest exit.
    LevelTour(const QList<int> &between, const QList<int> &toExit);

    // The flag, once raised, makes every search return at once; it must
    // outlive the tour. nullptr never stops.
    void setStopFlag(const std::atomic_bool *stop) { m_stop = stop; }
    bool stopRequested() const { return m_stop && m_stop->load(std::memory_order_relaxed); }
    // The search has taken its share of steps, or its caller has given up on
    // it.
    bool outOfSteps() const { return m_steps >= m_stepLimit || stopRequested(); }
    void spend(qint64 steps) const { m_steps += steps; }
    qint64 stepsTaken() const { return m_steps; }
    // Lets the part of the search that follows take this many more steps,
    // never past the whole search's count.
    void allow(qint64 steps) const { m_stepLimit = std::min(m_steps + steps, SearchSteps); }

    int nodes() const { return m_nodes; }
    // Moves from one node to another, and from a node to a push into the
    // nearest exit.
    int distance(int from, int to) const { return m_between.at(from * m_nodes + to); }
    int toExit(int from) const { return m_toExit.at(from); }
    // The moves of a whole tour through the nodes in order.
    int cost(const QList<int> &order) const;

    // The shortest order of the nodes, and its moves in length; empty when
    // the stop flag was raised.
    QList<int> exactOrder(const QList<int> &nodes, int &length) const;
    // The fewest moves of an order of every node of mustTake, with any of
    // mayTake among them, that reaches each node and the exit by its
    // deadline: latest[c] is the most moves by which a node may be reached
    // once c of mayTake are visited, as the seconds of clocks allow.
    // Nothing when no order does, or when the stop flag was raised.
    std::optional<QList<int>> exactWithin(const QList<int> &mustTake, const QList<int> &mayTake,
                                          const QList<int> &latest) const;
    // No order of the nodes is shorter; known is the length of one order,
    // which the bound never needs to pass.
    int lowerBound(const QList<int> &nodes, int known) const;
    QList<int> nearestFirst(const QList<int> &nodes) const;
    // Local search: moves and turns stretches of the order while that makes
    // it shorter.
    void shorten(QList<int> &order) const;
    // Shakes the order up and shortens it again while that finds shorter
    // ones, until it is no longer than enough.
    void shakeUp(QList<int> &order, int enough) const;
    // The order with each extra node put in where it costs the fewest moves.
    QList<int> withPlaces(QList<int> order, const QList<int> &extra) const;

private:
    // Moves from one end of a leg of a tour to the other, where exitNode()
    // is the push into the nearest exit.
    int exitNode() const { return m_nodes; }
    int link(int from, int to) const { return m_links.at(from * (m_nodes + 1) + to); }
    // The order an exact search found, read back from the place each set of
    // visited nodes was reached from, ending with node last of the set.
    static QList<int> walkBack(const QList<int> &nodes, const QList<int> &came, int visited, int last);

    int m_nodes = 0;
    QList<int> m_between;
    QList<int> m_toExit;
    // link() for every pair, and the same turned round, so that the local
    // search reads the legs into a place as one row.
    QList<int> m_links;
    QList<int> m_linksInto;
    // Steps taken so far, and where the part of the search under way has to
    // give up.
    mutable qint64 m_steps = 0;
    mutable qint64 m_stepLimit = 0;
    const std::atomic_bool *m_stop = nullptr;
};
