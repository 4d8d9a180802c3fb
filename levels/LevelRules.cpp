// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelRules.h"

LevelRules::Press LevelRules::press(const State &state, Arrow::Direction arrow, const Lookup &codeAt)
{
    Press press;
    press.facing = arrow;
    // The play screen keeps positions as 16-bit numbers, and so looks a step
    // past them up where they wrap round.
    const QPoint to = state.figure + Arrow::stepTwips(arrow);
    press.cell = QPoint(qint16(to.x()), qint16(to.y()));
    press.tile = TileRule::of(codeAt(press.cell.x(), press.cell.y()));
    const TileRule &tile = press.tile;
    if (tile.exit) {
        press.leaves = state.cash == 0;
        return press;
    }
    if (!tile.steps)
        return press;
    press.moved = true;
    press.takesTile = tile.clears;
    if (tile.cash)
        press.cash = asShown(state.cash - 1);
    if (tile.score != 0)
        press.score = asShown(state.score + tile.score);
    if (tile.seconds != 0)
        press.timeLeft = asShown(state.timeLeft + tile.seconds);
    press.lightsFloor = tile.lightsFloor;
    return press;
}

LevelRules::State LevelRules::after(const State &state, const Press &press)
{
    State next = state;
    if (press.moved)
        next.figure = press.cell;
    next.score = press.score.value_or(state.score);
    next.cash = press.cash.value_or(state.cash);
    next.timeLeft = press.timeLeft.value_or(state.timeLeft);
    return next;
}

LevelRules::Tick LevelRules::tick(double timeLeft)
{
    const double left = asShown(timeLeft - 1);
    return Tick{left, left == 0};
}

QString LevelRules::caption(double number)
{
    return QString::number(number, 'g', 15);
}

double LevelRules::read(const QString &caption)
{
    return caption.trimmed().toDouble();
}
