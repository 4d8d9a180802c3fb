// SPDX-License-Identifier: GPL-3.0-or-later
#include "TabStopDelegate.h"

#include <QApplication>
#include <QPainter>

TabStopDelegate::TabStopDelegate(const QString &widestFirstColumn, const QString &separator, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_widestFirstColumn(widestFirstColumn)
    , m_separator(separator)
{
}

void TabStopDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QString text = item.text;
    // The style draws the background and the selection; the text comes
    // after, in the two columns the style does not offer.
    item.text.clear();
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget);
    const auto [first, second] = columns(text);
    // The second column starts a little past the widest first one, so that
    // the two never touch.
    const int secondLeft = item.fontMetrics.horizontalAdvance(m_widestFirstColumn) + 2;
    painter->save();
    painter->setFont(item.font);
    painter->setPen(item.palette.color(option.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                             : QPalette::Text));
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    painter->drawText(textRect, flags, first);
    // A count too long for the narrow list ends in "...", rather than being
    // cut off in the middle of a letter.
    const QRect secondRect = textRect.adjusted(secondLeft, 0, 0, 0);
    painter->drawText(secondRect, flags, item.fontMetrics.elidedText(second, Qt::ElideRight, secondRect.width()));
    painter->restore();
}

std::pair<QString, QString> TabStopDelegate::columns(const QString &text) const
{
    const qsizetype at = text.indexOf(m_separator);
    if (m_separator.isEmpty() || at < 0)
        return {text, QString()};
    const qsizetype second = at + m_separator.size();
    return {text.left(second), text.mid(second)};
}
