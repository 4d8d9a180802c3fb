#include "PlayArea.h"

#include "Twips.h"

#include <QPaintEvent>
#include <QPainter>

PlayArea::PlayArea(const std::vector<ImageElement> &tiles, const ImageElement &figure, const QColor &background,
                   QWidget *parent)
    : QWidget(parent)
    , m_tiles(tiles)
    , m_figure(figure)
    , m_background(background)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void PlayArea::updateCell(int left, int top)
{
    update(Twips::rect(left, top, Twips::Cell, Twips::Cell));
}

void PlayArea::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect dirty = event->rect();
    painter.fillRect(dirty, m_background);
    const auto paint = [&](const ImageElement &image) {
        if (!image.visible || image.picture.isNull())
            return;
        const QPoint at(Twips::toPixels(image.left), Twips::toPixels(image.top));
        if (dirty.intersects(QRect(at, image.picture.size())))
            painter.drawPixmap(at, image.picture);
    };
    for (const ImageElement &tile : m_tiles)
        paint(tile);
    paint(m_figure);
}
