// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LevelMap.h"
#include "LevelRules.h"

#include <QPoint>
#include <QSet>

#include <optional>

// A level played key by key by the game's rules, on its map rather than on
// the play screen: where the figure stands, the score, the screen cash and
// the time left after every arrow key and every tick of the level clock,
// which is the caller's to give.
class LevelPlay
{
public:
    // The map must outlive the play.
    // The score carries on from the levels played before.
    explicit LevelPlay(const LevelMap &map, double score = 0);

    // One arrow key. Once the level is left, no key does anything.
    LevelRules::Press press(Arrow::Direction arrow);
    // Seconds of the level clock, up to the one that ends the time.
    LevelRules::Ticks tick(qint64 count = 1);

    // The figure's cell; nothing when the start is off the grid of cells,
    // where the figure cannot move at all.
    std::optional<QPoint> figure() const;
    QPoint figureTwips() const { return m_state.figure; }
    const LevelRules::State &state() const { return m_state; }
    int score() const { return int(m_state.score); }
    int cashLeft() const { return int(m_state.cash); }
    double timeLeft() const { return m_state.timeLeft; }
    bool isLit() const { return m_lit; }

private:
    int codeAt(int x, int y) const;

    const LevelMap &m_map;
    LevelRules::State m_state;
    QSet<QPoint> m_cleared;
    bool m_lit = false;
    bool m_left = false;
};
