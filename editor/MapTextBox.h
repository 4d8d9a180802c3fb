// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPlainTextEdit>

// The editor's map box. Text that arrives by pasting (Ctrl+V, Shift+Insert,
// a middle click) or by dropping is not inserted here but handed to the
// editor, so that it follows the same rules as typed text; a clipboard or
// drop without text inserts nothing. Its scroll bars are named after it, as
// "Map rows, vertical scroll", for a screen reader.
class MapTextBox : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit MapTextBox(QWidget *parent);

    // The most text a paste may leave in the box. A full map of sixteen rows
    // of two-character codes is 528 characters, and the level file keeps 17
    // rows; this is room for some thirty maps, while the check after every
    // keystroke stays a small fraction of a second whatever the text's shape
    // (about a tenth for 16,384 line breaks, where a megabyte takes more than
    // half a second per key).
    static constexpr qsizetype MaxLength = 16384;

    // Puts the text in at the caret as if its characters had been typed one
    // after the other, but as one change of the box, taken back by one undo:
    // "+" takes back the last character of the whole map, wherever the caret
    // stands, and leaves the caret where it was; a space types "0", the
    // empty floor; CR LF and a lone CR start a new row, as Enter does; other
    // control characters are dropped, as no key types them into the map.
    void type(const QString &text);
    // How many characters the box would hold after type(text): a CR LF
    // counts once, a dropped character not at all, and "+" takes one away.
    qsizetype lengthAfterTyping(const QString &text) const;

signals:
    // Text to be inserted at the caret as if it had been typed.
    void textPasted(const QString &text);

protected:
    bool event(QEvent *event) override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    // The box's text after typing: old[0, kept) + typed + old[after, end).
    struct Typing
    {
        qsizetype kept = 0;
        qsizetype after = 0;
        qsizetype end = 0;
        bool selectionLeft = false;
        QString typed;
    };
    Typing typing(const QString &text) const;
};
