// SPDX-License-Identifier: GPL-3.0-or-later
#include "EndPanel.h"

#include "Twips.h"

#include <QPainter>

EndPanel::EndPanel(const std::array<QPixmap, 5> &corners, QWidget *parent)
    : QWidget(parent)
    , m_corners(corners)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void EndPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    // Top left, top right, bottom left, bottom right; the fifth holder is the
    // spare that the turning passes pictures through and is never seen.
    static constexpr std::array<QPoint, 4> places{QPoint(360, 360), QPoint(5520, 360), QPoint(360, 5520),
                                                  QPoint(5520, 5520)};
    for (std::size_t i = 0; i < places.size(); ++i) {
        if (!m_corners[i].isNull())
            painter.drawPixmap(Twips::rect(places[i].x(), places[i].y(), 1575, 1575), m_corners[i]);
    }
}
