// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Arrow.h"
#include "LevelMap.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <optional>

// One way through a level, as the arrow keys a player presses.
struct Route
{
    // Route letters (see Arrow) in order; the last one pushes into an exit.
    QString keys;
    // No way through the level takes fewer moves.
    int lowerBound = 0;
    // Proven: no way through the level takes fewer moves than keys.
    bool shortest = false;
    // Clocks the route takes on its way.
    int clocks = 0;
    // The slowest steady pace, in moves a second, at which the route gets
    // out before the level clock runs out; 0 when it never runs out.
    double pace = 0;
};

// What a string of arrow keys does on a level, played from its start the way
// the play screen plays it.
struct Playthrough
{
    // Keys played up to and including the push that left through an exit;
    // all of them when the exit was never reached.
    int keysUsed = 0;
    bool leftThroughExit = false;
    // Banknotes and diamonds still on the screen at the end.
    int cashLeft = 0;
    // The index of every key that took a clock, and the seconds its tile
    // adds; the two lists are as long as each other.
    QList<int> clockKeys;
    QList<int> secondsAdded;
};

// Why a level cannot be finished at all: one cause, and the cell it concerns.
struct Obstacle
{
    enum class Kind {
        StartOffGrid,       // the start position is not on the grid of cells
        StartOnTile,        // the start cell at cell holds no floor, or lies off the map
        MapTooBig,          // too many cells to look for a route
        TooManyPlaces,      // too many things to collect to look for a route
        CannotBeReached,    // the banknote or diamond at cell, walled off from the start
        BeyondReach,        // the banknote or diamond at cell, past the 69th column or row
        NoExit,             // the map has no exit
        NoExitReachable,    // no exit stands beside a cell the figure reaches
        StartCutsOff,       // the start parts what is to be collected from the exit
        NoRoute,            // the search found no way through
    };
    Kind kind;
    // (column, row) from 0; only for CannotBeReached, BeyondReach and
    // StartOnTile.
    QPoint cell;
};

// Finds a short way through a level: every banknote and diamond collected,
// then out through an exit, and the clocks taken where they buy time. The
// figure goes where the play screen lets it, its positions kept in 16 bits.
// Small levels are solved exactly; big ones get a route that local search has
// shortened within a fixed count of steps, with a lower bound beside it, so
// that a level gets the same route and figures on every machine and under
// any load.
class LevelSolver
{
public:
    // The map must outlive the solver.
    explicit LevelSolver(const LevelMap &map);

    // The route that needs the slowest pace, or nothing when the level cannot
    // be finished at all; obstacles() then says why, one a cause (LevelCheck
    // puts them in words).
    std::optional<Route> solve();
    QList<Obstacle> obstacles() const { return m_obstacles; }
    // Proven by the last solve(): no route at all gets out in time at
    // HumanPace, whichever clocks it takes and in whatever order. Without
    // that proof, a route slower than HumanPace says nothing of the level.
    bool noneInTime() const { return m_noneInTime; }

    // Lets a caller on another thread give up on a solve that has lost its
    // point, such as the check of a map the designer has changed since:
    // once the flag is raised, solve() returns nothing within moments,
    // obstacles() is empty and stopped() is true. The flag must outlive
    // every solve() that looks at it; nullptr, the default, never stops.
    void setStopFlag(const std::atomic_bool *stop) { m_stop = stop; }
    // The last solve() was given up on through the stop flag.
    bool stopped() const { return m_stopped; }

    // The keys played by the game's rules; letters that name no arrow key
    // do nothing.
    static Playthrough play(const LevelMap &map, const QString &keys);

    // Whether a player making one move every 1/pace seconds, the first one
    // starting the clock, leaves through the exit before the clock runs out.
    // The clock ticks and its clocks add seconds by the game's own rules.
    static bool inTime(const LevelMap &map, const Playthrough &playthrough, double pace);
    // The slowest pace that is in time; 0 when any pace is, infinity when
    // none is.
    static double slowestPace(const LevelMap &map, const Playthrough &playthrough);

    // Levels with up to this many banknotes, diamonds and chosen clocks are
    // solved exactly; more go to local search. Up to this many banknotes,
    // diamonds and clocks in all, the search also settles exactly whether
    // any route is in time at HumanPace.
    static constexpr int ExactPoints = 16;
    // Beyond this many cells or places to visit the solver declines.
    static constexpr int MaxCells = 64 * 64;
    static constexpr int MaxPoints = 400;
    // The pace a level may ask of its player: one move every sixth of a
    // second, arrow keys held down where the way runs straight. The
    // built-in levels are all winnable at it.
    static constexpr double HumanPace = 6;
    // The paces the solver tells apart, in moves a second.
    static constexpr double MinPace = 0.01;
    static constexpr double MaxPace = 1000;
    // How many steps of local search solve() may take in looking for shorter
    // routes before it settles for the best found so far: a count, not a
    // time, so that the answer never depends on the machine. It is sized
    // so that the biggest maps a designer makes are judged within half a
    // second; the built-in levels need a small part of it.
    static constexpr qint64 SearchSteps = 150'000'000;
    // The highest column and row, from 0, the figure can stand on: a step
    // past them wraps the play screen's 16-bit position round.
    static constexpr int FurthestCell = 32767 / 480;

private:
    void measure();
    int index(const QPoint &cell) const;
    QPoint cellAt(int index) const;
    // The cell index an arrow key takes the figure to from a cell index, by
    // the play screen's positions; -1 where it cannot step.
    int next(int from, Arrow::Direction arrow) const { return m_next.at(from * 4 + arrow); }
    QList<int> distancesFrom(const QPoint &cell) const;
    // Moves from one place to another, and from a place to a push into the
    // nearest exit.
    int distance(int from, int to) const { return m_between.at(from * m_nodes.size() + to); }
    int toExit(int from) const { return m_toExit.at(from); }
    // Moves from one end of a leg of a tour to the other, where node 0 is the
    // start and exitNode() the push into the nearest exit.
    int exitNode() const { return int(m_nodes.size()); }
    int link(int from, int to) const { return m_links.at(from * (m_nodes.size() + 1) + to); }
    int cost(const QList<int> &order) const;
    // The search has taken its share of steps, or its caller has given up on
    // it.
    bool outOfSteps() const;
    void spend(qint64 steps) const { m_steps += steps; }
    // Lets the part of the search that follows take this many more steps,
    // never past the whole search's count.
    void allow(qint64 steps) const { m_stepLimit = std::min(m_steps + steps, SearchSteps); }
    bool stopRequested() const { return m_stop && m_stop->load(std::memory_order_relaxed); }
    // No way through the places to visit is shorter; known is the length of
    // one way through, which the bound never needs to pass.
    int lowerBound(const QList<int> &nodes, int known) const;
    QList<int> exactOrder(const QList<int> &nodes, int &length) const;
    // The order an exact search found, read back from the place each set of
    // visited nodes was reached from, ending with node last of the set.
    static QList<int> walkBack(const QList<int> &nodes, const QList<int> &came, int visited, int last);
    QList<int> nearestFirst(const QList<int> &nodes) const;
    // Local search: moves and turns stretches of the order while that makes
    // it shorter.
    void shorten(QList<int> &order) const;
    // Shakes the order up and shortens it again while that finds shorter
    // ones, until it is no longer than enough.
    void shakeUp(QList<int> &order, int enough) const;
    // The order with each clock put in where it costs the fewest moves.
    QList<int> withClocks(QList<int> order, const QList<int> &clocks) const;
    // The order with each clock put in where it lets the slowest pace get
    // out in time, by the clock's whole seconds; the fewest moves among
    // equally slow ones.
    QList<int> withClocksInTime(QList<int> order, const QList<int> &clocks) const;
    // The pace an order asks for when the clock counts whole seconds: for
    // each stretch between clocks, the keys played by its end against the
    // seconds on the clock by then.
    double wholeSecondsPace(const QList<int> &order) const;
    // The best a route fetching these clocks could do: as short as the
    // bound, and each clock taken by the first key that could reach it.
    Playthrough dream(const QList<int> &clocks, int bound) const;
    // Whether a route fetching these clocks could ask for a slower pace than
    // the best one, or as slow a pace with fewer moves, being no shorter
    // than the bound.
    bool mayBeat(const QList<int> &clocks, int bound, const Route &best) const;
    // The fewest moves of an order of every banknote and diamond among the
    // nodes, with any of the clocks among them, that gets out in time at
    // the pace; nothing when none does. Only for a clock of whole seconds
    // (see wholeTimeLimit).
    std::optional<QList<int>> exactInTime(const QList<int> &nodes, double pace) const;
    // The time limit in whole seconds when the clock counts down in whole
    // seconds whatever clocks are taken, from at least one: a route is then
    // in time exactly when it never lets the count reach 0, and taking a
    // clock sooner or making fewer moves never makes it later. The proofs
    // that no route is in time rest on that. measure() keeps it.
    std::optional<double> wholeTimeLimit() const;
    QString keysFor(const QList<int> &order) const;
    QString path(int from, const QPoint &to) const;

    const LevelMap &m_map;
    QList<Obstacle> m_obstacles;
    int m_width = 0;
    int m_height = 0;
    // next() for every cell index and arrow key.
    QList<int> m_next;
    // Node 0 is the start; then the banknotes and diamonds; then the clocks.
    QList<QPoint> m_nodes;
    int m_collectibles = 0;
    QList<QList<int>> m_fromNode;
    // The cells beside an exit from which a push goes into it, with the
    // arrow key that does.
    QList<int> m_exitBeside;
    QList<Arrow::Direction> m_exitPush;
    std::optional<double> m_wholeLimit;
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
    bool m_stopped = false;
    bool m_noneInTime = false;
};
