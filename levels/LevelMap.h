// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LevelRecord.h"

#include <QList>
#include <QPoint>
#include <QStringList>

#include <optional>

// A level as the player figure meets it on the play screen: the code at every
// cell, where the figure starts, where the exits stand and what has to be
// collected before they open. Cells are (column, row); a cell that holds no
// code is a wall, as it is for the play screen's lookup.
class LevelMap
{
public:
    explicit LevelMap(const LevelRecord &level);

    // How far the codes reach: the longest row's code count, and the number
    // of rows up to the last one holding a code. Codes past the sixteenth lie
    // under the status panel but are still found, and walked on, like any
    // other.
    int columns() const { return m_columns; }
    int rows() const { return int(m_codes.size()); }

    // The code text cut from the map at a cell; empty where none stands.
    QString text(const QPoint &cell) const;
    // The number the play screen acts on: 1 (a wall) where no code stands
    // and for text that names no tile.
    int code(const QPoint &cell) const;
    // Whether the figure steps onto the cell (see TileRule). Exits are not
    // among such cells; the figure only pushes into one.
    bool isWalkable(const QPoint &cell) const;

    // The cell the figure starts on, or nothing when the start position is
    // not on the 480-twip grid (the figure is then blocked every way).
    std::optional<QPoint> start() const { return m_start; }
    // The start as the play screen places the figure, in twips.
    QPoint startTwips() const { return m_startTwips; }
    // The time limit as the play screen reads it from its clock label: a
    // caption that is no number counts as 0, which never runs out.
    double timeLimit() const { return m_timeLimit; }

    // Each in reading order: row by row, left to right.
    QList<QPoint> exits() const;
    // What counts toward the screen cash: banknotes and diamonds.
    QList<QPoint> collectibles() const;
    // What adds time to the clock.
    QList<QPoint> clocks() const;

    // The points the level is worth: every banknote and diamond on it, all
    // of which are taken before the exit opens.
    int points() const;

private:
    template<class Test>
    QList<QPoint> cellsWhere(Test test) const;

    QList<QStringList> m_codes;
    int m_columns = 0;
    QPoint m_startTwips;
    std::optional<QPoint> m_start;
    double m_timeLimit = 0;
};
