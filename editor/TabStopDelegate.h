// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStyledItemDelegate>

#include <utility>

// Draws list items in two columns, the second starting a little past a
// given widest first column, so that the line report's counts stand one
// under the other. An item's first column ends after a separator in its
// text, so the texts, which a screen reader reads as the items' names, need
// no tab to line up; the style's own drawing of tabs puts their stops so far
// apart that the counts would fall past the right edge of the narrow list.
class TabStopDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // widestFirstColumn: the longest first column expected, its separator
    // included; separator: what ends the first column, such as ": ".
    TabStopDelegate(const QString &widestFirstColumn, const QString &separator, QObject *parent);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // An item's text cut into its two columns, after the first separator;
    // all of it in the first when it has none.
    std::pair<QString, QString> columns(const QString &text) const;

private:
    const QString m_widestFirstColumn;
    const QString m_separator;
};
