// SPDX-License-Identifier: GPL-3.0-or-later
#include "TilePalette.h"

#include "Pictures.h"
#include "TileCodes.h"
#include "Twips.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace {

// The floor has no picture; a pale cell with a frame shows that there is a
// tile to click all the same.
const QColor FloorFill(250, 250, 244);
const QColor FloorFrame(150, 150, 150);
const QColor BrushFrame(200, 0, 0);

const QString Buttons = QStringLiteral("click: add it at the caret; right-click: paint with it");

} // namespace

TilePalette::TilePalette(QWidget *parent)
    : QFrame(parent)
    , m_brush(TileCodes::Wall)
    , m_current(TileCodes::Floor)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setFocusPolicy(Qt::StrongFocus);
}

void TilePalette::setBrush(int code)
{
    if (!TileCodes::all().contains(code) || code == m_brush)
        return;
    update(tileRect(m_brush));
    m_brush = code;
    update(tileRect(m_brush));
    emit brushChosen(code);
}

QRect TilePalette::tileRect(int code) const
{
    const qsizetype index = TileCodes::all().indexOf(code);
    if (index < 0)
        return {};
    const int column = int(index) % Columns;
    const int row = int(index) / Columns;
    return Twips::rect(Twips::Cell * column, Twips::Cell * row, Twips::Cell, Twips::Cell)
        .translated(contentsRect().topLeft());
}

QString TilePalette::tileTip(int code)
{
    const QString name = TileCodes::name(code);
    if (name.isEmpty())
        return {};
    return QStringLiteral("%1: %2").arg(name).arg(code);
}

int TilePalette::codeAt(const QPoint &position) const
{
    for (const int code : TileCodes::all()) {
        if (tileRect(code).contains(position))
            return code;
    }
    return -1;
}

bool TilePalette::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const int code = codeAt(help->pos());
        if (code < 0) {
            QToolTip::hideText();
            event->ignore();
        } else {
            // Tied to the tile, so moving to its neighbour asks again.
            QToolTip::showText(help->globalPos(), tileTip(code) + u'\n' + Buttons, this, tileRect(code));
        }
        return true;
    }
    return QFrame::event(event);
}

void TilePalette::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    for (const int code : TileCodes::all()) {
        const QRect cell = tileRect(code);
        if (code == TileCodes::Floor) {
            painter.fillRect(cell.adjusted(1, 1, -1, -1), FloorFill);
            painter.setPen(FloorFrame);
            painter.drawRect(cell.adjusted(1, 1, -2, -2));
            continue;
        }
        const QPixmap picture = Pictures::tile(QString::number(code));
        if (!picture.isNull())
            painter.drawPixmap(cell.topLeft(), picture);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(BrushFrame, 2));
    painter.drawRect(tileRect(m_brush).adjusted(1, 1, -1, -1));
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(tileRect(m_current).adjusted(3, 3, -4, -4));
    }
}

void TilePalette::mouseReleaseEvent(QMouseEvent *event)
{
    // A click acts on release, over the tile it was pressed on, like a
    // button: dragging off a tile cancels it.
    const int code = codeAt(event->position().toPoint());
    if (code < 0)
        return;
    if (event->button() == Qt::LeftButton)
        emit tileClicked(code);
    else if (event->button() == Qt::RightButton)
        setBrush(code);
}

void TilePalette::keyPressEvent(QKeyEvent *event)
{
    const QList<int> &codes = TileCodes::all();
    const int at = int(codes.indexOf(m_current));
    int to = at;
    switch (event->key()) {
    case Qt::Key_Left:
        to = at - 1;
        break;
    case Qt::Key_Right:
        to = at + 1;
        break;
    case Qt::Key_Up:
        to = at - Columns;
        break;
    case Qt::Key_Down:
        to = at + Columns;
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit tileClicked(m_current);
        return;
    default:
        QFrame::keyPressEvent(event);
        return;
    }
    if (to < 0 || to >= codes.size())
        return;
    update(tileRect(m_current));
    m_current = codes.at(to);
    update(tileRect(m_current));
}

void TilePalette::focusInEvent(QFocusEvent *event)
{
    update(tileRect(m_current));
    QFrame::focusInEvent(event);
}

void TilePalette::focusOutEvent(QFocusEvent *event)
{
    update(tileRect(m_current));
    QFrame::focusOutEvent(event);
}
