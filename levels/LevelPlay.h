// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LevelMap.h"
#include "TileRule.h"

#include <QPoint>
#include <QSet>

#include <optional>

// A level played key by key as the play screen plays it, with the level
// clock standing still: where the figure stands, the score, the screen cash
// and the time left after every arrow key.
class LevelPlay
{
public:
    // What one key did: the rule of the tile it met, whether the figure
    // moved onto it, and whether it left through an exit.
    struct Move
    {
        TileRule rule;
        bool moved = false;
        bool exited = false;
    };

    // The map must outlive the play.
    explicit LevelPlay(const LevelMap &map);

    // One arrow key, by its route letter. Once the level is left, no key
    // does anything.
    Move press(char letter);

    // The figure's cell; nothing when the start is off the grid of cells,
    // where the figure cannot move at all.
    std::optional<QPoint> figure() const { return m_figure; }
    int score() const { return m_score; }
    int cashLeft() const { return m_cashLeft; }
    double timeLeft() const { return m_timeLeft; }
    bool isLit() const { return m_lit; }
    bool hasLeft() const { return m_left; }

private:
    const LevelMap &m_map;
    std::optional<QPoint> m_figure;
    QSet<QPoint> m_cleared;
    int m_score = 0;
    int m_cashLeft = 0;
    double m_timeLeft = 0;
    bool m_lit = false;
    bool m_left = false;
};
