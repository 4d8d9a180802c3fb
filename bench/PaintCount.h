// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QWidget;

// Counts the paint events a widget receives, so a timed run can prove that
// the repaint it means to measure really happened inside it. The widget owns
// it.
class PaintCount : public QObject
{
    Q_OBJECT

public:
    explicit PaintCount(QWidget *widget);

    int count() const { return m_count; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int m_count = 0;
};
