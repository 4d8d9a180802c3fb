#pragma once

#include <QFont>

// The faces of the load-level screen and the editor.
class EditorFonts
{
public:
    // The game's dialog face. Where the desktop lacks it, a face of the same
    // narrow measure stands in before any plain sans-serif, so that the
    // labels and the line report fit the widths the windows give them.
    static QFont dialog();
    // The map box's fixed-pitch face, so that the codes of the rows line up.
    static QFont map();
};
