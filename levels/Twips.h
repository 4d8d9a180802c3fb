// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

// The game keeps every position and size in twips, as its level files and
// level table do; only painting and widget placement turn them into pixels.
class Twips
{
public:
    static constexpr int PerPixel = 15;
    static constexpr int Cell = 480;
    static constexpr int MapCells = 16;
    static constexpr int MapSize = Cell * MapCells;

    static constexpr int toPixels(int twips)
    {
        // Round half away from zero so that odd twip sizes (e.g. 7695) land on
        // the same pixel as the window frames they were laid out against.
        return twips >= 0 ? (twips + PerPixel / 2) / PerPixel : -((-twips + PerPixel / 2) / PerPixel);
    }

    static constexpr QRect rect(int left, int top, int width, int height)
    {
        return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
    }
};
