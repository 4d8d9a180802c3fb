// SPDX-License-Identifier: GPL-3.0-or-later
#include "TilePalette.h"

#include "Pictures.h"
#include "TileCodes.h"
#include "Twips.h"

#include <QHash>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace {

// The floor has no picture; a pale cell with a frame shows that there is a
// tile to click all the same.
const QColor FloorFill(250, 250, 244);
const QColor FloorFrame(150, 150, 150);

} // namespace

TilePalette::TilePalette(QWidget *parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
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
    static const QHash<int, QString> names{
        {0, QStringLiteral("Floor")},
        {1, QStringLiteral("Brick wall")},
        {2, QStringLiteral("Palm tree")},
        {3, QStringLiteral("Banknote")},
        {4, QStringLiteral("Exit")},
        {5, QStringLiteral("Light bulb")},
        {6, QStringLiteral("Life ring")},
        {7, QStringLiteral("Diamond")},
        {80, QStringLiteral("Boulder")},
        {81, QStringLiteral("Ant")},
        {82, QStringLiteral("Pyramid block")},
        {83, QStringLiteral("Floppy disk")},
        {84, QStringLiteral("Clock")},
        {85, QStringLiteral("Arrow panel")},
        {86, QStringLiteral("Globe")},
        {87, QStringLiteral("Red dot with rays")},
        {88, QStringLiteral("Blue ring")},
        {90, QStringLiteral("Blue and red square")},
    };
    const auto found = names.constFind(code);
    if (found == names.constEnd())
        return {};
    return QStringLiteral("%1: %2").arg(*found).arg(code);
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
            QToolTip::showText(help->globalPos(), tileTip(code), this, tileRect(code));
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
}

void TilePalette::mouseReleaseEvent(QMouseEvent *event)
{
    // A click acts on release, over the tile it was pressed on, like a
    // button: dragging off a tile cancels it.
    if (event->button() != Qt::LeftButton)
        return;
    const int code = codeAt(event->position().toPoint());
    if (code >= 0)
        emit tileClicked(code);
}
