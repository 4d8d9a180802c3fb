// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Samples.h"

#include <QPointer>
#include <QString>
#include <QStringList>

class Forms;
class MapEditor;
class PaintCount;

// Times the editor's answer to one keystroke in the map box on a full map of
// sixteen rows of sixteen two-character codes, and to a paste (Ctrl+V) of a
// long text into an empty map box: the check (row buffer, line report,
// preview cells) and the repaint of the window it causes, or the refusal.
class EditorBench
{
public:
    // Opens the editor of these windows with the full map typed in.
    explicit EditorBench(Forms &forms);

    Samples keystroke(int runs);
    // Each run empties the map box, untimed, then pastes the text into it,
    // or has it refused when it is too long for the box.
    Samples paste(const QString &text, int runs);

    QString problem() const { return m_problem; }

    // Sixteen rows of 32 characters, every code one with a picture.
    static QStringList fullMap();
    // Floor and wall codes, the line break after every rowLength of them
    // (none when 0), until the text is that many characters long.
    static QString codes(qsizetype characters, qsizetype rowLength);

private:
    QPointer<MapEditor> m_editor;
    PaintCount *m_previewPaints = nullptr;
    QString m_problem;
};
