// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Arrow.h"
#include "LevelMap.h"

#include <QList>
#include <QPoint>
#include <QString>

#include <limits>

// A map measured cell by cell as the figure meets it: its cells numbered
// with a ring of wall round the codes, so that a start just outside them
// still has neighbours to look at, and every step the arrow keys make from
// each cell worked out once by the play screen's 16-bit positions.
class LevelGrid
{
public:
    // Moves to a cell the figure never reaches.
    static constexpr int Unreachable = std::numeric_limits<int>::max() / 4;

    explicit LevelGrid(const LevelMap &map);

    // The cells a grid of the map holds, ring included, known before
    // building one.
    static int cellCount(const LevelMap &map) { return (map.columns() + 2) * (map.rows() + 2); }

    int size() const { return m_width * m_height; }
    // The number of a cell, (column, row) from 0; -1 outside the ring.
    int index(const QPoint &cell) const
    {
        const int x = cell.x() + 1;
        const int y = cell.y() + 1;
        if (x < 0 || y < 0 || x >= m_width || y >= m_height)
            return -1;
        return y * m_width + x;
    }
    QPoint cellAt(int index) const { return QPoint(index % m_width - 1, index / m_width - 1); }
    // Whether the figure steps onto the cell; the ring never lets it.
    bool isWalkable(int index) const { return m_walkable.at(index); }
    // The cell an arrow key takes the figure to from a cell, by the play
    // screen's positions; -1 where it cannot step.
    int next(int from, Arrow::Direction arrow) const { return m_next.at(from * 4 + arrow); }

    // Moves from the cell to every cell of the grid; Unreachable where the
    // figure never gets.
    QList<int> distancesFrom(const QPoint &cell) const;
    // The arrow keys of a shortest way to the cell, walked back from it
    // along the distances from where the way begins.
    QString path(const QList<int> &distances, const QPoint &to) const;

private:
    int m_width = 0;
    int m_height = 0;
    QList<bool> m_walkable;
    // next() for every cell and arrow key.
    QList<int> m_next;
};
