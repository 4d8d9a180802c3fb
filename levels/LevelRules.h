// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Arrow.h"
#include "TileRule.h"

#include <QPoint>
#include <QString>

#include <functional>
#include <optional>

// The rules of a level in play, said once for the play screen and the level
// checker alike: what one arrow key does and what one second of the level
// clock does, each worked out from the level's state and answered with what
// changed. The state is what the play screen keeps in its labels and its
// figure; the tiles are asked through a lookup, so that the play screen asks
// its tile images and the checker its map.
class LevelRules
{
public:
    struct State
    {
        // The top-left corner of the figure's cell, in twips.
        QPoint figure;
        double score = 0;
        // Banknotes and diamonds still on the screen.
        double cash = 0;
        double timeLeft = 0;
    };

    // The code of the tile at exactly these twips; a wall (1) where none
    // stands.
    using Lookup = std::function<int(int x, int y)>;

    // What one arrow key changed. The numbers are set only where they change,
    // so that a caption keeps the spelling its level gave it until then.
    struct Press
    {
        // The figure turns before anything else, even towards a wall.
        Arrow::Direction facing = Arrow::Down;
        // The cell examined, in twips as the play screen's 16-bit positions
        // hold them.
        QPoint cell;
        TileRule tile;
        // The figure now stands on the cell.
        bool moved = false;
        // What lay there is taken; the cell is floor from now on.
        bool takesTile = false;
        std::optional<double> score;
        std::optional<double> cash;
        std::optional<double> timeLeft;
        bool lightsFloor = false;
        // Through an open exit: the level is over.
        bool leaves = false;
    };
    static Press press(const State &state, Arrow::Direction arrow, const Lookup &codeAt);
    // The twips an arrow key looks at from the figure's twips. The play
    // screen keeps positions as 16-bit numbers, so a step past 32767 wraps
    // round to a position between cells, where no tile stands: the figure
    // can never stand further right or down than the 69th column or row.
    static QPoint target(const QPoint &figure, Arrow::Direction arrow);
    // The time left once a clock's seconds are added to it.
    static double withSeconds(double timeLeft, int seconds) { return asShown(timeLeft + seconds); }
    // The state after a press.
    static State after(const State &state, const Press &press);

    // One second of the level clock.
    struct Tick
    {
        double timeLeft = 0;
        // Only a count reading exactly 0 ends the time: a level whose limit
        // is 0, below it or a fraction runs below zero and never ends.
        bool timeOver = false;
    };
    static Tick tick(double timeLeft);
    // Up to count seconds in a row, stopping at the one that ends the time:
    // what tick() would give one after another, worked out in one go for a
    // count a long pause or a long replay brings.
    struct Ticks
    {
        double timeLeft = 0;
        bool timeOver = false;
        // Ticks taken, the one that ended the time included.
        qint64 used = 0;
    };
    static Ticks ticks(double timeLeft, qint64 count);

    // The play screen keeps its numbers as label captions, written with 15
    // significant digits and read back as decimal numbers on every use. Every
    // number the rules answer with has been through that round trip, so a
    // time limit such as "3.0000000000000004" runs out after three seconds
    // in the checker just as it does on the panel.
    static QString caption(double number);
    static double read(const QString &caption);
    static double asShown(double number);
};
