// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// A plain coloured box placed in twips, as the about screen's cover and
// curtains are: the credits move and stretch them a few twips at a time, so
// the box keeps its twip geometry and only its placement on screen is
// rounded to pixels.
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    PictureBox(QWidget *parent, int left, int top, int width, int height, const QColor &backColor);

    int Left() const { return m_left; }
    int Top() const { return m_top; }
    int Height() const { return m_height; }

    void setLeft(int left);
    void setTop(int top);
    void setHeight(int height);

private:
    void place();

    int m_left;
    int m_top;
    int m_width;
    int m_height;
};
