// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelGrid.h"

#include "LevelRules.h"
#include "Twips.h"

LevelGrid::LevelGrid(const LevelMap &map)
    : m_width(map.columns() + 2)
    , m_height(map.rows() + 2)
{
    const int cells = size();
    // Every search from a place asks of each cell again, so each cell's
    // tile and each step from it are worked out once.
    m_walkable.resize(cells);
    for (int at = 0; at < cells; ++at)
        m_walkable[at] = map.isWalkable(cellAt(at));
    m_next.fill(-1, cells * 4);
    for (int at = 0; at < cells; ++at) {
        for (const Arrow::Direction arrow : Arrow::All) {
            const auto to = Twips::cellAt(LevelRules::target(cellAt(at) * Twips::Cell, arrow));
            if (!to)
                continue;
            const int there = index(*to);
            if (there >= 0 && m_walkable.at(there))
                m_next[at * 4 + arrow] = there;
        }
    }
}

QList<int> LevelGrid::distancesFrom(const QPoint &cell) const
{
    QList<int> distances(size(), Unreachable);
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

QString LevelGrid::path(const QList<int> &distances, const QPoint &to) const
{
    // Walk back from the target along falling distances, then turn the
    // steps round.
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
