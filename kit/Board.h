// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ImageElement.h"

#include <QColor>
#include <QFrame>
#include <QStringList>

#include <vector>

// A map of tiles painted by one widget: the level colour, then the tile
// images, then the player figure if there is one. The play screen's play
// area and the editor's preview are both boards; their owners keep the
// images and the colour and tell the board when they change.
class Board : public QFrame
{
    Q_OBJECT

public:
    // The tiles, the figure and the colour must outlive the board; a board
    // without a figure passes nullptr.
    Board(const std::vector<ImageElement> &tiles, const ImageElement *figure, const QColor &background,
          QWidget *parent);

    // Repaints the cell whose top-left corner lies at these twips.
    void updateCell(int left, int top);

    // The tiles of map rows, one image a code, row by row from the top-left
    // corner, each in its cell and showing its code's picture.
    static std::vector<ImageElement> layOut(const QStringList &rows);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const std::vector<ImageElement> &m_tiles;
    const ImageElement *const m_figure;
    const QColor &m_background;
};
