// SPDX-License-Identifier: GPL-3.0-or-later
#include "Colors.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

QColor Colors::buttonFace()
{
    return QApplication::palette().color(QPalette::Button);
}

void Colors::setBackColor(QWidget *control, const QColor &color)
{
    control->setAutoFillBackground(true);
    QPalette palette = control->palette();
    palette.setColor(QPalette::Window, color);
    control->setPalette(palette);
}

void Colors::setForeColor(QWidget *control, const QColor &color)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, color);
    control->setPalette(palette);
}
