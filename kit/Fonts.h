// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

// The faces the game's windows are set in. Where the desktop lacks a face,
// one of the same measure stands in before any plain one, so that captions
// fit the widths the windows give them.
class Fonts
{
public:
    // The dialog face of the menus, the editor and the end-of-game text.
    static QFont msSansSerif(qreal points);
    // The captions of the play screen's status panel.
    static QFont arial(qreal points, bool bold = false);
    // The heavy serif of the status panel's values.
    static QFont narkisim(qreal points);
    // The map box's fixed-pitch face, so that the codes of the rows line up.
    static QFont courier(qreal points);
};
