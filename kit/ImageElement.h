// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QString>

// A windowless image on a board: a picture at a position in twips, painted by
// the widget that owns the board. A map of 256 cells is 256 of these, not 256
// widgets.
struct ImageElement
{
    QPixmap picture;
    int left = 0;
    int top = 0;
    QString tag;
    bool visible = true;
};
