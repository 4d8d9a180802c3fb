#include "TilePalette.h"

#include "Pictures.h"
#include "TileCodes.h"
#include "Twips.h"

#include <QMouseEvent>
#include <QPainter>

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

void TilePalette::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    for (const int code : TileCodes::all()) {
        const QPixmap picture = Pictures::tile(QString::number(code));
        if (!picture.isNull())
            painter.drawPixmap(tileRect(code).topLeft(), picture);
    }
}

void TilePalette::mouseReleaseEvent(QMouseEvent *event)
{
    // A click acts on release, over the tile it was pressed on, like a
    // button: dragging off a tile cancels it.
    if (event->button() != Qt::LeftButton)
        return;
    for (const int code : TileCodes::all()) {
        if (tileRect(code).contains(event->position().toPoint())) {
            emit tileClicked(code);
            return;
        }
    }
}
