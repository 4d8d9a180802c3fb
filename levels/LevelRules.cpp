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

LevelRules::Ticks LevelRules::ticks(double timeLeft, qint64 count)
{
    // Whole numbers this far from zero keep every digit through the caption.
    constexpr double Exact = 1e15;
    const auto isWhole = [](double number) { return number == std::floor(number) && std::abs(number) < Exact; };
    Ticks ticks{timeLeft, false, 0};
    while (ticks.used < count) {
        const double left = ticks.timeLeft;
        const qint64 rest = count - ticks.used;
        if (isWhole(left)) {
            // A whole count falls by one a tick: it meets 0 after as many
            // ticks as it shows, and from 0 or below it never does.
            if (left >= 1 && left <= double(rest))
                return Ticks{0, true, ticks.used + qint64(left)};
            if (left >= 1 || left - double(rest) > -Exact)
                return Ticks{left - double(rest), false, count};
            // Further below zero the caption drops digits: down to there in
            // one go, then tick by tick until a second no longer changes it.
            const qint64 toEdge = qint64(left + Exact) - 1;
            if (toEdge > 0) {
                ticks.timeLeft = left - double(toEdge);
                ticks.used += toEdge;
                continue;
            }
        }
        const Tick one = tick(left);
        ++ticks.used;
        if (one.timeOver)
            return Ticks{one.timeLeft, true, ticks.used};
        // A count too big for a second to change it stays where it is.
        if (one.timeLeft == left)
            return Ticks{left, false, count};
        // Once through the caption, a count with a fraction keeps it: it
        // passes 0 without ever reading exactly 0.
        if (!isWhole(one.timeLeft))
            return Ticks{asShown(one.timeLeft - double(count - ticks.used)), false, count};
        ticks.timeLeft = one.timeLeft;
    }
    return ticks;
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
