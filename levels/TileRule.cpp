// SPDX-License-Identifier: GPL-3.0-or-later
#include "TileRule.h"

#include "TileCodes.h"

TileRule TileRule::of(int code)
{
    switch (code) {
    case TileCodes::Floor:
        return {.steps = true};
    case TileCodes::Banknote:
        return {.steps = true, .cash = true, .score = 100, .clears = true};
    case TileCodes::Diamond:
        return {.steps = true, .cash = true, .score = 500, .clears = true};
    case TileCodes::LightBulb:
        return {.steps = true, .clears = true, .lightsFloor = true};
    case TileCodes::Clock:
        return {.steps = true, .clears = true, .seconds = 15};
    case TileCodes::Exit:
        return {.exit = true};
    default:
        return {};
    }
}
