// SPDX-License-Identifier: GPL-3.0-or-later
#include "Arrow.h"

QPoint Arrow::step(char letter)
{
    switch (letter) {
    case Up:
        return {0, -1};
    case Down:
        return {0, 1};
    case Left:
        return {-1, 0};
    case Right:
        return {1, 0};
    default:
        return {};
    }
}

char Arrow::opposite(char letter)
{
    switch (letter) {
    case Up:
        return Down;
    case Down:
        return Up;
    case Left:
        return Right;
    default:
        return Left;
    }
}

QString Arrow::name(char letter)
{
    switch (letter) {
    case Up:
        return QStringLiteral("Up");
    case Down:
        return QStringLiteral("Down");
    case Left:
        return QStringLiteral("Left");
    default:
        return QStringLiteral("Right");
    }
}
