// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

class QWidget;

// The colours several windows share, and the two ways the windows colour a
// control: its background and its text.
class Colors
{
public:
    // The dark teal behind the menus and the load-level screen.
    static inline const QColor MenuBack{0, 64, 64};
    // The dark grey of the play screen's status panel and the about screen.
    static inline const QColor PanelBack{64, 64, 64};
    // The yellow of the about screen's credits and the load-level prompt.
    static inline const QColor Yellow{255, 255, 0};

    // The desktop's light grey of a button face: the colour of a level that
    // names none (level 8) and of the editor's preview before a colour is set.
    static QColor buttonFace();

    // Level colours travel as one number, red in the lowest byte, in the
    // level table and in level files; the windows paint them as QColor.
    static QColor fromValue(quint32 value)
    {
        return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
    }

    // Fills the control's background with the colour.
    static void setBackColor(QWidget *control, const QColor &color);
    // The text colour of a control, as every window sets its captions'.
    static void setForeColor(QWidget *control, const QColor &color);
};
