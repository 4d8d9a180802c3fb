#pragma once

#include <QPixmap>
#include <QString>

// The pictures compiled into the game, decoded once and shared by every
// window that shows them.
class Pictures
{
public:
    enum Facing { Down = 0, Up = 1, Right = 2, Left = 3 };

    // The picture of a tile code; a null pixmap for floor and for codes that
    // name no tile.
    static QPixmap tile(const QString &code);
    static QPixmap figure(Facing facing);
    // The player figure facing the viewer, as the life icons and the window
    // icon show it.
    static QPixmap lifeIcon() { return figure(Down); }
};
