// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Arrow.h"

class QKeyEvent;

// The key codes the windows' key handlers take: the arrows, Enter and a few
// others by number, letters and digits as their capitals and figures; 0 for
// keys the game has no use for.
class VirtualKey
{
public:
    static constexpr int Backspace = 8;
    static constexpr int Tab = 9;
    static constexpr int Return = 13;
    static constexpr int Shift = 16;
    static constexpr int Control = 17;
    static constexpr int Pause = 19;
    static constexpr int Escape = 27;
    static constexpr int Space = 32;
    static constexpr int Left = Arrow::keyCode(Arrow::Left);
    static constexpr int Up = Arrow::keyCode(Arrow::Up);
    static constexpr int Right = Arrow::keyCode(Arrow::Right);
    static constexpr int Down = Arrow::keyCode(Arrow::Down);

    static int of(const QKeyEvent *event);
};
