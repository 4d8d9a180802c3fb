// SPDX-License-Identifier: GPL-3.0-or-later
#include "StatusPanel.h"

#include "Colors.h"
#include "Twips.h"

#include <QPainter>

StatusPanel::StatusPanel(QWidget *parent)
    : QWidget(parent)
{
    Colors::setBackColor(this, Colors::PanelBack);
    setFocusPolicy(Qt::NoFocus);
}

void StatusPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(Qt::black);
    // Line1 to Line5: the separators under each pair of labels.
    for (const int top : {720, 1440, 2160, 2880, 3960})
        painter.drawLine(0, Twips::toPixels(top), Twips::toPixels(1440), Twips::toPixels(top));
}
