// SPDX-License-Identifier: GPL-3.0-or-later
#include "VirtualKey.h"

#include <QKeyEvent>

int VirtualKey::of(const QKeyEvent *event)
{
    // Keys whose Qt code happens to equal 13, 38 or 40 ("&" is 38, "(" is 40)
    // must not pass for Enter, Up or Down, so anything not listed is 0.
    const int key = event->key();
    switch (key) {
    case Qt::Key_Backspace:
        return Backspace;
    case Qt::Key_Tab:
        return Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Return;
    case Qt::Key_Shift:
        return Shift;
    case Qt::Key_Control:
        return Control;
    case Qt::Key_Pause:
        return Pause;
    case Qt::Key_Escape:
        return Escape;
    case Qt::Key_Space:
        return Space;
    case Qt::Key_Left:
        return Left;
    case Qt::Key_Up:
        return Up;
    case Qt::Key_Right:
        return Right;
    case Qt::Key_Down:
        return Down;
    default:
        break;
    }
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return key;
    return 0;
}
