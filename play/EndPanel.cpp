// SPDX-License-Identifier: GPL-3.0-or-later
#include "EndPanel.h"

#include "Twips.h"

#include <QPainter>

EndPanel::EndPanel(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void EndPanel::setCorners(const std::array<QPixmap, 4> &corners)
{
    m_corners = corners;
    update();
}

void EndPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    // Top left, top right, bottom left, bottom right.
    static constexpr std::array<QPoint, 4> places{QPoint(360, 360), QPoint(5520, 360), QPoint(360, 5520),
                                                  QPoint(5520, 5520)};
    for (std::size_t i = 0; i < places.size(); ++i) {
        if (!m_corners[i].isNull())
            painter.drawPixmap(Twips::rect(places[i].x(), places[i].y(), 1575, 1575), m_corners[i]);
    }
}
