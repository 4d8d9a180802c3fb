// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStyledItemDelegate>

// Draws list items with tab stops as wide as a given first column, so that
// the text after a tab stands in a column; the style's own drawing puts tab
// stops so far apart that the line report's counts would fall past the
// right edge of its narrow list.
class TabStopDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // widestFirstColumn: the longest text expected before the first tab.
    TabStopDelegate(const QString &widestFirstColumn, QObject *parent);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    const QString m_widestFirstColumn;
};
