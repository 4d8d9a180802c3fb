// SPDX-License-Identifier: GPL-3.0-or-later
#include "PaintCount.h"

#include <QEvent>
#include <QWidget>

PaintCount::PaintCount(QWidget *widget)
    : QObject(widget)
{
    widget->installEventFilter(this);
}

bool PaintCount::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint)
        ++m_count;
    return QObject::eventFilter(watched, event);
}
