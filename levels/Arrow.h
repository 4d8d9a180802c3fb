// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Twips.h"

#include <QPoint>
#include <QString>

#include <array>
#include <optional>

// The four arrow keys, said once: the key code the play screen is given, the
// picture the figure turns to, the step it takes on the map and the letter a
// route is written in. Cells are (column, row), rows counting downwards.
class Arrow
{
public:
    // Numbered as the figure's facing pictures are: down (towards the
    // player), up (seen from behind), right, left.
    enum Direction { Down = 0, Up = 1, Right = 2, Left = 3 };
    // The order routes are searched in; it decides which of two equally
    // short routes a level gets, so it stays as the built-in routes had it.
    static constexpr std::array<Direction, 4> All{Up, Down, Left, Right};

    // The virtual-key code of each arrow key.
    static constexpr int keyCode(Direction direction)
    {
        constexpr std::array<int, 4> codes{40, 38, 39, 37};
        return codes[direction];
    }
    static std::optional<Direction> ofKeyCode(int keyCode);

    // The step on the map, in cells and in twips.
    static QPoint step(Direction direction);
    static QPoint stepTwips(Direction direction) { return step(direction) * Twips::Cell; }
    static Direction opposite(Direction direction);

    // Routes are written one letter a key: "U", "D", "L", "R".
    static char letter(Direction direction);
    static std::optional<Direction> ofLetter(QChar letter);
    // The key's name as a designer reads it: "Up", "Down", "Left", "Right".
    static QString name(Direction direction);
};
