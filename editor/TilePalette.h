// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>

// The editor's tile palette: the eighteen tiles in two rows, painted by this
// one widget; a click on a tile announces its code, and pointing at one names
// it. A screen reader finds each tile in it as a button of that name.
class TilePalette : public QFrame
{
    Q_OBJECT

public:
    explicit TilePalette(QWidget *parent);

    // Where the tile of a code stands in the palette, in pixels; an empty
    // rectangle for a code that has no tile.
    QRect tileRect(int code) const;

    // What pointing at a tile shows: its name and its code, as "Banknote: 3";
    // empty for a code that has no tile.
    static QString tileTip(int code);

    // What a click on the tile of a code does.
    void choose(int code);

signals:
    void tileClicked(int code);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // The code of the tile under a point; -1 between and beside the tiles.
    int codeAt(const QPoint &position) const;

    static constexpr int Columns = 9;
};
