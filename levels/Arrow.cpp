// SPDX-License-Identifier: GPL-3.0-or-later
#include "Arrow.h"

namespace {

struct Key
{
    QPoint step;
    char letter;
    const char16_t *name;
};

// By direction number: down, up, right, left.
constexpr std::array<Key, 4> Keys{{
    {QPoint(0, 1), 'D', u"Down"},
    {QPoint(0, -1), 'U', u"Up"},
    {QPoint(1, 0), 'R', u"Right"},
    {QPoint(-1, 0), 'L', u"Left"},
}};

} // namespace

std::optional<Arrow::Direction> Arrow::ofKeyCode(int keyCode)
{
    for (const Direction direction : All) {
        if (Arrow::keyCode(direction) == keyCode)
            return direction;
    }
    return std::nullopt;
}

QPoint Arrow::step(Direction direction)
{
    return Keys[direction].step;
}

Arrow::Direction Arrow::opposite(Direction direction)
{
    switch (direction) {
    case Down:
        return Up;
    case Up:
        return Down;
    case Right:
        return Left;
    case Left:
        return Right;
    }
    Q_UNREACHABLE();
}

char Arrow::letter(Direction direction)
{
    return Keys[direction].letter;
}

std::optional<Arrow::Direction> Arrow::ofLetter(QChar letter)
{
    for (const Direction direction : All) {
        if (letter == QLatin1Char(Keys[direction].letter))
            return direction;
    }
    return std::nullopt;
}

QString Arrow::name(Direction direction)
{
    return QString::fromUtf16(Keys[direction].name);
}
