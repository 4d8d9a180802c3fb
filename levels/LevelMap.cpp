// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelMap.h"

#include "LevelRules.h"
#include "TileCodes.h"
#include "TileRule.h"
#include "Twips.h"

LevelMap::LevelMap(const LevelRecord &level)
    : m_startTwips(level.startTwips())
    , m_timeLimit(LevelRules::read(level.time))
{
    for (const QString &row : level.rows) {
        m_codes.append(TileCodes::cutRow(row));
        m_columns = std::max(m_columns, int(m_codes.last().size()));
    }
    // A level file always brings seventeen rows, the last ones usually empty;
    // they hold no cells.
    while (!m_codes.isEmpty() && m_codes.last().isEmpty())
        m_codes.removeLast();
    m_start = Twips::cellAt(m_startTwips);
}

QString LevelMap::text(const QPoint &cell) const
{
    if (cell.y() < 0 || cell.y() >= m_codes.size())
        return {};
    const QStringList &row = m_codes.at(cell.y());
    if (cell.x() < 0 || cell.x() >= row.size())
        return {};
    return row.at(cell.x());
}

int LevelMap::code(const QPoint &cell) const
{
    const QString cut = text(cell);
    return cut.isEmpty() ? int(TileCodes::Wall) : TileCodes::number(cut);
}

bool LevelMap::isWalkable(const QPoint &cell) const
{
    return TileRule::of(code(cell)).steps;
}

template<class Test>
QList<QPoint> LevelMap::cellsWhere(Test test) const
{
    QList<QPoint> cells;
    for (int row = 0; row < m_codes.size(); ++row) {
        for (int column = 0; column < m_codes.at(row).size(); ++column) {
            const QPoint cell(column, row);
            if (test(code(cell)))
                cells.append(cell);
        }
    }
    return cells;
}

QList<QPoint> LevelMap::exits() const
{
    return cellsWhere([](int code) { return TileRule::of(code).exit; });
}

QList<QPoint> LevelMap::collectibles() const
{
    return cellsWhere([](int code) { return TileRule::of(code).cash; });
}

QList<QPoint> LevelMap::clocks() const
{
    return cellsWhere([](int code) { return TileRule::of(code).seconds > 0; });
}

int LevelMap::points() const
{
    int points = 0;
    for (const QPoint &cell : collectibles())
        points += TileRule::of(code(cell)).score;
    return points;
}
