// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QScrollBar>

// The small vertical scroll bar beside a number box. Its upper arrow lowers
// a scroll bar's value yet raises the number, so the number is counted from
// the other end of the range; a screen reader is told that number, the one
// the box shows, rather than the bar's own value.
class Spinner : public QScrollBar
{
    Q_OBJECT

public:
    Spinner(int minimum, int maximum, QWidget *parent);

    // The number the box beside it shows.
    int shown() const { return minimum() + maximum() - value(); }
    void setShown(int number) { setValue(minimum() + maximum() - number); }
};
