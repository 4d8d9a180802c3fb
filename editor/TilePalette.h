#pragma once

#include <QFrame>

// The editor's tile palette: the eighteen tiles in two rows, painted by this
// one widget; a click on a tile announces its code.
class TilePalette : public QFrame
{
    Q_OBJECT

public:
    explicit TilePalette(QWidget *parent);

    // Where the tile of a code stands in the palette, in pixels; an empty
    // rectangle for a code that has no tile.
    QRect tileRect(int code) const;

signals:
    void tileClicked(int code);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    static constexpr int Columns = 9;
};
