// SPDX-License-Identifier: GPL-3.0-or-later
#include "Board.h"

#include "Pictures.h"
#include "TileCodes.h"
#include "Twips.h"

#include <QPaintEvent>
#include <QPainter>

Board::Board(const std::vector<ImageElement> &tiles, const ImageElement *figure, const QColor &background,
             QWidget *parent)
    : QFrame(parent)
    , m_tiles(tiles)
    , m_figure(figure)
    , m_background(background)
{
    // Every pixel inside the frame is painted, so nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void Board::updateCell(int left, int top)
{
    update(Twips::rect(left, top, Twips::Cell, Twips::Cell).translated(contentsRect().topLeft()));
}

std::vector<ImageElement> Board::layOut(const QStringList &rows)
{
    std::vector<ImageElement> tiles;
    int row = 0;
    for (const QString &text : rows) {
        int column = 0;
        for (const QString &code : TileCodes::cutRow(text)) {
            tiles.push_back(ImageElement{Pictures::tile(code), Twips::Cell * column, Twips::Cell * row, code, true});
            ++column;
        }
        ++row;
    }
    return tiles;
}

void Board::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect inside = contentsRect();
    const QRect dirty = event->rect() & inside;
    painter.setClipRect(dirty);
    painter.fillRect(dirty, m_background);
    const auto paint = [&](const ImageElement &image) {
        if (!image.visible || image.picture.isNull())
            return;
        const QPoint at = inside.topLeft() + QPoint(Twips::toPixels(image.left), Twips::toPixels(image.top));
        if (dirty.intersects(QRect(at, image.picture.size())))
            painter.drawPixmap(at, image.picture);
    };
    for (const ImageElement &tile : m_tiles)
        paint(tile);
    if (m_figure)
        paint(*m_figure);
}
