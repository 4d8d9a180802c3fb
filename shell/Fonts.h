#pragma once

#include <QFont>

// The faces the menus and the about screen are set in.
class Fonts
{
public:
    // The game's dialog face; a plain sans-serif stands in where the desktop
    // does not have it.
    static QFont msSansSerif(qreal points);
};
