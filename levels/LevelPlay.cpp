// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelPlay.h"

#include "Arrow.h"
#include "TileCodes.h"

LevelPlay::LevelPlay(const LevelMap &map)
    : m_map(map)
    , m_figure(map.start())
    , m_cashLeft(int(map.collectibles().size()))
    , m_timeLeft(map.timeLimit())
{
}

LevelPlay::Move LevelPlay::press(char letter)
{
    Move move;
    const QPoint step = Arrow::step(letter);
    if (m_left || !m_figure || step.isNull())
        return move;
    const QPoint target = *m_figure + step;
    move.rule = TileRule::of(m_cleared.contains(target) ? int(TileCodes::Floor) : m_map.code(target));
    if (move.rule.exit) {
        move.exited = m_cashLeft == 0;
        m_left = move.exited;
        return move;
    }
    if (!move.rule.steps)
        return move;
    move.moved = true;
    m_figure = target;
    m_timeLeft += move.rule.seconds;
    if (move.rule.cash)
        --m_cashLeft;
    if (move.rule.clears)
        m_cleared.insert(target);
    m_score += move.rule.score;
    m_lit = m_lit || move.rule.lightsFloor;
    return move;
}
