#pragma once

#include "ImageElement.h"

#include <QColor>
#include <QFrame>

#include <vector>

// The editor's preview: paints the cells the check laid out, over the level
// colour, as the play screen will show them.
class MapPreview : public QFrame
{
    Q_OBJECT

public:
    MapPreview(const std::vector<ImageElement> &cells, const QColor &background, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const std::vector<ImageElement> &m_cells;
    const QColor &m_background;
};
