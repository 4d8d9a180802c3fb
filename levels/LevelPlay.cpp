// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelPlay.h"

#include "TileCodes.h"
#include "Twips.h"

LevelPlay::LevelPlay(const LevelMap &map, double score)
    : m_map(map)
    , m_state{map.startTwips(), score, double(map.collectibles().size()), map.timeLimit()}
{
}

int LevelPlay::codeAt(int x, int y) const
{
    const auto cell = Twips::cellAt(QPoint(x, y));
    if (!cell)
        return TileCodes::Wall;
    return m_cleared.contains(*cell) ? int(TileCodes::Floor) : m_map.code(*cell);
}

LevelRules::Press LevelPlay::press(Arrow::Direction arrow)
{
    if (m_left)
        return {};
    const LevelRules::Press press = LevelRules::press(m_state, arrow, [this](int x, int y) { return codeAt(x, y); });
    m_state = LevelRules::after(m_state, press);
    if (press.takesTile)
        m_cleared.insert(*Twips::cellAt(press.cell));
    m_lit = m_lit || press.lightsFloor;
    m_left = press.leaves;
    return press;
}

LevelRules::Ticks LevelPlay::tick(qint64 count)
{
    const LevelRules::Ticks ticks = LevelRules::ticks(m_state.timeLeft, count);
    m_state.timeLeft = ticks.timeLeft;
    return ticks;
}

std::optional<QPoint> LevelPlay::figure() const
{
    return Twips::cellAt(m_state.figure);
}
