// SPDX-License-Identifier: GPL-3.0-or-later
#include "MapTextBox.h"

#include <QMimeData>
#include <QScrollBar>

MapTextBox::MapTextBox(QWidget *parent)
    : QPlainTextEdit(parent)
{
}

bool MapTextBox::event(QEvent *event)
{
    // Just before the box is first shown its own name is known; a nameless
    // scroll bar tells a screen reader nothing of what it scrolls.
    if (event->type() == QEvent::Polish && !accessibleName().isEmpty()) {
        verticalScrollBar()->setAccessibleName(accessibleName() + QStringLiteral(", vertical scroll"));
        horizontalScrollBar()->setAccessibleName(accessibleName() + QStringLiteral(", horizontal scroll"));
    }
    return QPlainTextEdit::event(event);
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

MapTextBox::Typing MapTextBox::typing(const QString &text) const
{
    const QTextCursor caret = textCursor();
    // The first character typed replaces the selection, and "+" eats the
    // map from its end, the part after the caret first.
    Typing result;
    result.kept = caret.selectionStart();
    result.after = caret.selectionEnd();
    result.end = document()->characterCount() - 1;
    result.selectionLeft = caret.hasSelection();
    QString &typed = result.typed;
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
            if (result.selectionLeft)
                result.kept = result.after = caret.position();
            result.selectionLeft = false;
            if (result.end > result.after)
                --result.end;
            else if (!typed.isEmpty())
                typed.chop(1);
            else if (result.kept > 0)
                --result.kept;
            continue;
        }
        result.selectionLeft = false;
        typed += c == u' ' ? QChar(u'0') : c;
    }
    return result;
}

qsizetype MapTextBox::lengthAfterTyping(const QString &text) const
{
    const Typing result = typing(text);
    return result.kept + result.typed.size() + result.end - result.after;
}

void MapTextBox::type(const QString &text)
{
    const Typing result = typing(text);
    const qsizetype length = document()->characterCount() - 1;
    if (result.kept < result.after || !result.typed.isEmpty() || result.end < length) {
        QTextCursor edit(document());
        edit.beginEditBlock();
        // The end first, so that the places before it stay where they are.
        if (result.end < length) {
            edit.setPosition(int(result.end));
            edit.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
            edit.removeSelectedText();
        }
        edit.setPosition(int(result.kept));
        edit.setPosition(int(result.after), QTextCursor::KeepAnchor);
        edit.insertText(result.typed);
        edit.endEditBlock();
    }
    if (!result.selectionLeft) {
        QTextCursor caret = textCursor();
        caret.setPosition(int(result.kept + result.typed.size()));
        setTextCursor(caret);
    }
}
