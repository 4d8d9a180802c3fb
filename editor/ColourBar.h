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

private:
    void showValue();
};
