// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Arrow.h"
#include "LevelGrid.h"
#include "LevelMap.h"
#include "LevelTour.h"

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
    // The level clock ticks its whole seconds and the clocks taken add
    // theirs by the game's own rules (see RouteClock).
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
    // routes before it settles for the best found so far (see LevelTour).
    static constexpr qint64 SearchSteps = LevelTour::SearchSteps;
    // The highest column and row, from 0, the figure can stand on: a step
    // past them wraps the play screen's 16-bit position round.
    static constexpr int FurthestCell = 32767 / 480;

private:
    void measure();
    // Moves from one place to another, and from a place to a push into the
    // nearest exit: node 0 is the start, then the banknotes and diamonds,
    // then the clocks.
    int distance(int from, int to) const { return m_tour->distance(from, to); }
    int toExit(int from) const { return m_tour->toExit(from); }
    bool stopRequested() const { return m_stop && m_stop->load(std::memory_order_relaxed); }
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
    // The fewest moves of an order of every banknote and diamond, with any
    // of the clocks among them, that gets out in time at the pace; nothing
    // when none does. Only for a clock of whole seconds.
    std::optional<QList<int>> exactInTime(const QList<int> &collectibles, const QList<int> &clocks, double pace) const;
    QString keysFor(const QList<int> &order) const;

    const LevelMap &m_map;
    QList<Obstacle> m_obstacles;
    std::optional<LevelGrid> m_grid;
    std::optional<LevelTour> m_tour;
    // Node 0 is the start; then the banknotes and diamonds; then the clocks.
    QList<QPoint> m_nodes;
    int m_collectibles = 0;
    // The moves from each node to every cell, for walking the legs of a
    // route.
    QList<QList<int>> m_fromNode;
    // The cells beside an exit from which a push goes into it, with the
    // arrow key that does.
    QList<int> m_exitBeside;
    QList<Arrow::Direction> m_exitPush;
    // The time limit when the clock counts whole seconds (see
    // RouteClock::wholeTimeLimit).
    std::optional<double> m_wholeLimit;
    const std::atomic_bool *m_stop = nullptr;
    bool m_stopped = false;
    bool m_noneInTime = false;
};
