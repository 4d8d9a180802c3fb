// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Arrow.h"

#include <QIcon>
#include <QPixmap>
#include <QString>

// The pictures compiled into the game, decoded once and shared by every
// window that shows them.
class Pictures
{
public:
    // The picture of a tile code; a null pixmap for floor and for codes that
    // name no tile.
    static QPixmap tile(const QString &code);
    // The figure turned the way an arrow key turns it.
    static QPixmap figure(Arrow::Direction facing);
    // The player figure facing the viewer, as the life icons and the window
    // icon show it.
    static QPixmap lifeIcon() { return figure(Arrow::Down); }
    // The game's icon for every window: the life icon, also at two and four
    // times its size for desktops that show icons larger.
    static QIcon windowIcon();

    // A picture enlarged to fill a size of the given device's pixels, each
    // of its pixels a sharp square (or as near as a fractional scale allows)
    // rather than smoothed into its neighbours.
    static QPixmap enlarged(const QPixmap &picture, const QSize &size, qreal devicePixelRatio);
};
