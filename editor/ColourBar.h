// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QScrollBar>

// One of the editor's red, green and blue bars. Its 256 values share a track
// a few dozen pixels wide, so the thumb is a narrow mark whose place shows
// the value, and a drag across the track sweeps the whole range; while the
// thumb is dragged the value stands beside it.
class ColourBar : public QScrollBar
{
    Q_OBJECT

public:
    ColourBar(int value, QWidget *parent);

    // A colour as a screen reader says it, "red 128, green 128, blue 255":
    // the numbers the three bars show.
    static QString colourName(const QColor &colour);
    // Gives the swatch showing the bars' colour that colour's name as its
    // description, and tells a screen reader when it changes.
    static void describeSwatch(QWidget *swatch, const QColor &colour);

private:
    void showValue();
};
