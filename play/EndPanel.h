// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QWidget>

#include <array>

// The black panel of the end-of-game display: it paints the four corner
// pictures it is given, stretched.
class EndPanel : public QWidget
{
    Q_OBJECT

public:
    explicit EndPanel(QWidget *parent);

    // Top left, top right, bottom left, bottom right.
    void setCorners(const std::array<QPixmap, 4> &corners);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::array<QPixmap, 4> m_corners;
};
