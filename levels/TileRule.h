// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a tile does when the figure is steered at it: the game's one rule
// book, asked by the play screen, the solver and the map alike. A code that
// names no tile, or a cell where none stands, is a wall.
struct TileRule
{
    // The figure moves onto the cell.
    bool steps = false;
    // Steering into it ends the level once the screen cash is gone; the
    // figure never stands on it.
    bool exit = false;
    // It counts toward the screen cash and is taken when stepped on.
    bool cash = false;
    // Points added to the score when it is taken.
    int score = 0;
    // It leaves bare floor behind once stepped on.
    bool clears = false;
    // Seconds added to the level clock when it is taken.
    int seconds = 0;
    // Taking it turns the floor of the whole level white.
    bool lightsFloor = false;

    // Neither stepped on nor an exit: the figure only turns towards it.
    bool blocks() const { return !steps && !exit; }

    // The rule of a tile code, as TileCodes::number gives it.
    static TileRule of(int code);
};
