#include "MapPreview.h"

#include "Twips.h"

#include <QPaintEvent>
#include <QPainter>

MapPreview::MapPreview(const std::vector<ImageElement> &cells, const QColor &background, QWidget *parent)
    : QFrame(parent)
    , m_cells(cells)
    , m_background(background)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
}

void MapPreview::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect inside = contentsRect();
    const QRect dirty = event->rect() & inside;
    painter.setClipRect(dirty);
    painter.fillRect(dirty, m_background);
    for (const ImageElement &cell : m_cells) {
        if (!cell.visible || cell.picture.isNull())
            continue;
        const QPoint at = inside.topLeft() + QPoint(Twips::toPixels(cell.left), Twips::toPixels(cell.top));
        if (dirty.intersects(QRect(at, cell.picture.size())))
            painter.drawPixmap(at, cell.picture);
    }
}
