// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>

#include <optional>

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

    // The cell, (column, row) from 0, whose top-left corner lies exactly at
    // these twips; nothing between cells, where no tile image stands.
    static constexpr std::optional<QPoint> cellAt(const QPoint &twips)
    {
        if (twips.x() % Cell != 0 || twips.y() % Cell != 0)
            return std::nullopt;
        return QPoint(twips.x() / Cell, twips.y() / Cell);
    }

    static constexpr QRect rect(int left, int top, int width, int height)
    {
        return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
    }
};
