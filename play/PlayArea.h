#pragma once

#include "ImageElement.h"

#include <QColor>
#include <QWidget>

#include <vector>

// The play area of the play screen: paints the level colour, the tile images
// and the player figure, all of which the play screen owns and changes.
class PlayArea : public QWidget
{
    Q_OBJECT

public:
    PlayArea(const std::vector<ImageElement> &tiles, const ImageElement &figure, const QColor &background,
             QWidget *parent);

    // Repaints the cell whose top-left corner lies at these twips.
    void updateCell(int left, int top);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const std::vector<ImageElement> &m_tiles;
    const ImageElement &m_figure;
    const QColor &m_background;
};
