// SPDX-License-Identifier: GPL-3.0-or-later
#include "MapTextBox.h"

#include <QMimeData>

MapTextBox::MapTextBox(QWidget *parent)
    : QPlainTextEdit(parent)
{
}

bool MapTextBox::canInsertFromMimeData(const QMimeData *source) const
{
    return source && source->hasText();
}

void MapTextBox::insertFromMimeData(const QMimeData *source)
{
    // The text box's own handling of pasted data breaks down on an empty
    // clipboard (one that offers no formats at all) and would take rich text
    // as it comes, so only plain text ever gets past here.
    if (isReadOnly() || !canInsertFromMimeData(source))
        return;
    const QString text = source->text();
    if (!text.isEmpty())
        emit textPasted(text);
}
