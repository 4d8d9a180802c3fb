// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPlainTextEdit>

// The editor's map box. Text that arrives by pasting (Ctrl+V, Shift+Insert,
// a middle click) or by dropping is not inserted here but handed to the
// editor, so that it follows the same rules as typed text; a clipboard or
// drop without text inserts nothing.
class MapTextBox : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit MapTextBox(QWidget *parent);

signals:
    // Text to be inserted at the caret as if it had been typed.
    void textPasted(const QString &text);

protected:
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
};
