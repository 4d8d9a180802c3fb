// SPDX-License-Identifier: GPL-3.0-or-later
#include "Board.h"

#include "Pictures.h"
#include "TileCodes.h"
#include "Twips.h"

#include <QPaintEvent>
#include <QPainter>

#include <iterator>

Board::Board(QWidget *parent)
    : QFrame(parent)
{
    // Every pixel inside the frame is painted, so nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void Board::updateCell(int left, int top)
{
    update(Twips::rect(left, top, Twips::Cell, Twips::Cell).translated(contentsRect().topLeft()));
}

void Board::setTiles(std::vector<ImageElement> tiles)
{
    m_tiles = std::move(tiles);
    update();
}

void Board::setTile(std::size_t index, const ImageElement &tile)
{
    ImageElement &old = m_tiles.at(index);
    updateCell(old.left, old.top);
    old = tile;
    updateCell(tile.left, tile.top);
}

void Board::replaceTiles(std::size_t first, std::size_t count, std::vector<ImageElement> tiles)
{
    const auto from = m_tiles.begin() + std::ptrdiff_t(first);
    for (auto old = from; old != from + std::ptrdiff_t(count); ++old)
        updateCell(old->left, old->top);
    for (const ImageElement &tile : tiles)
        updateCell(tile.left, tile.top);
    if (tiles.size() == count) {
        std::move(tiles.begin(), tiles.end(), from);
        return;
    }
    m_tiles.erase(from, from + std::ptrdiff_t(count));
    m_tiles.insert(m_tiles.begin() + std::ptrdiff_t(first), std::make_move_iterator(tiles.begin()),
                   std::make_move_iterator(tiles.end()));
}

void Board::setFigure(const std::optional<ImageElement> &figure)
{
    if (m_figure)
        updateCell(m_figure->left, m_figure->top);
    m_figure = figure;
    if (m_figure)
        updateCell(m_figure->left, m_figure->top);
}

void Board::setBackground(const QColor &background)
{
    m_background = background;
    update();
}

std::vector<ImageElement> Board::layOut(const QStringList &rows)
{
    std::vector<ImageElement> tiles;
    int row = 0;
    for (const QString &text : rows) {
        int column = 0;
        for (const QString &code : TileCodes::cutRow(text)) {
            tiles.push_back(tileOf(code, column, row));
            ++column;
        }
        ++row;
    }
    return tiles;
}

ImageElement Board::tileOf(const QString &code, int column, int row)
{
    return ImageElement{Pictures::tile(code), Twips::Cell * column, Twips::Cell * row, code, true};
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
