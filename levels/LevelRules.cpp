// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelRules.h"

#include <cmath>

LevelRules::Press LevelRules::press(const State &state, Arrow::Direction arrow, const Lookup &codeAt)
{
    Press press;
    press.facing = arrow;
    press.cell = target(state.figure, arrow);
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
        press.timeLeft = withSeconds(state.timeLeft, tile.seconds);
    press.lightsFloor = tile.lightsFloor;
    return press;
}

QPoint LevelRules::target(const QPoint &figure, Arrow::Direction arrow)
{
    const QPoint to = figure + Arrow::stepTwips(arrow);
    return QPoint(qint16(to.x()), qint16(to.y()));
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

double LevelRules::asShown(double number)
{
    // Fifteen digits hold every whole number below 10^15 exactly, and the
    // checker asks this of each second of a long route.
    if (number == std::floor(number) && std::abs(number) < 1e15)
        return number;
    return read(caption(number));
}

double LevelRules::read(const QString &caption)
{
    return caption.trimmed().toDouble();
}
