// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// The dark panel right of the play area; it paints its separator lines and
// carries the labels the play screen puts on it.
class StatusPanel : public QWidget
{
    Q_OBJECT

public:
    explicit StatusPanel(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};
