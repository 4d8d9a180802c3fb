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

void MapTextBox::type(const QString &text)
{
    const QString old = toPlainText();
    QTextCursor caret = textCursor();
    // The map after the typing is old[0, kept) + typed + old[after, end):
    // the first character typed replaces the selection, and "+" eats the
    // map from its end, the part after the caret first.
    qsizetype kept = caret.selectionStart();
    qsizetype after = caret.selectionEnd();
    qsizetype end = old.size();
    bool selectionLeft = caret.hasSelection();
    QString typed;
    typed.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text.at(i);
        if (c == u'\r') {
            if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            c = u'\n';
        } else if (c != u'\n' && c.category() == QChar::Other_Control) {
            continue;
        }
        if (c == u'+') {
            // "+" leaves a selection standing and only drops it.
            if (selectionLeft)
                kept = after = caret.position();
            selectionLeft = false;
            if (end > after)
                --end;
            else if (!typed.isEmpty())
                typed.chop(1);
            else if (kept > 0)
                --kept;
            continue;
        }
        selectionLeft = false;
        typed += c == u' ' ? QChar(u'0') : c;
    }

    if (kept < after || !typed.isEmpty() || end < old.size()) {
        QTextCursor edit(document());
        edit.beginEditBlock();
        // The end first, so that the places before it stay where they are.
        if (end < old.size()) {
            edit.setPosition(int(end));
            edit.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
            edit.removeSelectedText();
        }
        edit.setPosition(int(kept));
        edit.setPosition(int(after), QTextCursor::KeepAnchor);
        edit.insertText(typed);
        edit.endEditBlock();
    }
    if (!selectionLeft) {
        caret.setPosition(int(kept + typed.size()));
        setTextCursor(caret);
    }
}
