// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QStringList>
#include <QWidget>

// The captions of the windows the player can see, in alphabetical order: the
// hand-over between windows is judged by what is left on the screen.
inline QStringList visibleWindows()
{
    QStringList captions;
    for (const QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible())
            captions.append(widget->windowTitle());
    }
    captions.sort();
    return captions;
}
