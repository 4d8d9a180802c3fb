// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureBox.h"

#include "Colors.h"
#include "Twips.h"

PictureBox::PictureBox(QWidget *parent, int left, int top, int width, int height, const QColor &backColor)
    : QWidget(parent)
    , m_left(left)
    , m_top(top)
    , m_width(width)
    , m_height(height)
{
    Colors::setBackColor(this, backColor);
    place();
}

void PictureBox::setLeft(int left)
{
    m_left = left;
    place();
}

void PictureBox::setTop(int top)
{
    m_top = top;
    place();
}

void PictureBox::setHeight(int height)
{
    m_height = height;
    place();
}

void PictureBox::place()
{
    // Rounding the edges rather than the size keeps a box that moves in
    // small twip steps from changing width on screen.
    const int left = Twips::toPixels(m_left);
    const int top = Twips::toPixels(m_top);
    setGeometry(left, top, Twips::toPixels(m_left + m_width) - left, Twips::toPixels(m_top + m_height) - top);
}
