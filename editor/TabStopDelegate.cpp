// SPDX-License-Identifier: GPL-3.0-or-later
#include "TabStopDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QTextOption>

TabStopDelegate::TabStopDelegate(const QString &widestFirstColumn, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_widestFirstColumn(widestFirstColumn)
{
}

void TabStopDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QString text = item.text;
    // The style draws the background and the selection; the text comes
    // after, with the tab stops the style does not offer.
    item.text.clear();
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget);
    QTextOption layout(Qt::AlignLeft | Qt::AlignVCenter);
    layout.setWrapMode(QTextOption::NoWrap);
    // A tab that starts exactly on a stop goes on to the next one, so the
    // stop lies a little past the widest first column.
    layout.setTabStopDistance(item.fontMetrics.horizontalAdvance(m_widestFirstColumn) + 2);
    painter->save();
    painter->setFont(item.font);
    painter->setPen(item.palette.color(option.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                             : QPalette::Text));
    painter->drawText(textRect, text, layout);
    painter->restore();
}
