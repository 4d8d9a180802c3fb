// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>

// The editor's tile palette: the eighteen tiles in two rows, painted by this
// one widget. A click on a tile announces its code, a right-click makes it
// the brush the preview paints with (framed here), and pointing at one names
// it. From the keyboard the arrow keys move among the tiles and Space or
// Enter does what a click does. A screen reader finds each tile in it as a
// button of that name, the brush checked, and hears the tile the arrow keys
// move to.
class TilePalette : public QFrame
{
    Q_OBJECT

public:
    explicit TilePalette(QWidget *parent);

    // Where the tile of a code stands in the palette, in pixels; an empty
    // rectangle for a code that has no tile.
    QRect tileRect(int code) const;

    // A tile's name and its code, as "Banknote: 3"; empty for a code that
    // has no tile. Pointing at the tile shows this and what its buttons do.
    static QString tileTip(int code);

    int brush() const { return m_brush; }
    void setBrush(int code);
    // The tile the keyboard stands on.
    int current() const { return m_current; }
    // What a click on the tile of a code does.
    void choose(int code);

signals:
    void tileClicked(int code);
    void brushChosen(int code);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // The code of the tile under a point; -1 between and beside the tiles.
    int codeAt(const QPoint &position) const;
    // Tells a screen reader which tile the keyboard stands on.
    void announceCurrent();

    static constexpr int Columns = 9;
    int m_brush;
    int m_current;
};
