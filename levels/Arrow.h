// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QString>

#include <array>

// The four arrow keys as the letters a route is written in, and the step on
// the map each one takes. Cells are (column, row), rows counting downwards.
class Arrow
{
public:
    static constexpr char Up = 'U';
    static constexpr char Down = 'D';
    static constexpr char Left = 'L';
    static constexpr char Right = 'R';
    static constexpr std::array<char, 4> All{Up, Down, Left, Right};

    // The step of a letter; no step for anything else.
    static QPoint step(char letter);
    static char opposite(char letter);
    // The key's name as a designer reads it: "Up", "Down", "Left", "Right".
    static QString name(char letter);
};
