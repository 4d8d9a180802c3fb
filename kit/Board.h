// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ImageElement.h"

#include <QColor>
#include <QFrame>
#include <QStringList>

#include <optional>
#include <vector>

// A map of tiles painted by one widget: the level colour, then the tile
// images, then the player figure if there is one. The play screen's play
// area and the editor's preview are both boards; each board holds what it
// shows, and repaints what a change touches.
class Board : public QFrame
{
    Q_OBJECT

public:
    explicit Board(QWidget *parent);

    const std::vector<ImageElement> &tiles() const { return m_tiles; }
    void setTiles(std::vector<ImageElement> tiles);
    // Replaces one tile in place; the index must be one of the tiles'.
    void setTile(std::size_t index, const ImageElement &tile);
    // Puts tiles in place of the count tiles from first on; those after them
    // keep their places on the board. Only the cells concerned are repainted.
    void replaceTiles(std::size_t first, std::size_t count, std::vector<ImageElement> tiles);

    const std::optional<ImageElement> &figure() const { return m_figure; }
    void setFigure(const std::optional<ImageElement> &figure);

    QColor background() const { return m_background; }
    void setBackground(const QColor &background);

    // The tiles of map rows, one image a code, row by row from the top-left
    // corner, each in its cell and showing its code's picture.
    static std::vector<ImageElement> layOut(const QStringList &rows);
    // The tile of one code at its cell (column, row).
    static ImageElement tileOf(const QString &code, int column, int row);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // Repaints the cell whose top-left corner lies at these twips.
    void updateCell(int left, int top);

    std::vector<ImageElement> m_tiles;
    std::optional<ImageElement> m_figure;
    QColor m_background;
};
