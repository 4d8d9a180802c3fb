// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QWidget>

#include <array>

// The black panel of the end-of-game display: it paints the four corner
// pictures, stretched, from the play screen's picture holders.
class EndPanel : public QWidget
{
    Q_OBJECT

public:
    EndPanel(const std::array<QPixmap, 5> &corners, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const std::array<QPixmap, 5> &m_corners;
};
