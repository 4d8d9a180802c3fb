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
// sixteen rows of sixteen two-character codes: the check (row buffer, line
// report, preview cells) and the repaint of the window it causes.
class EditorBench
{
public:
    // Opens the editor of these windows with the full map typed in.
    explicit EditorBench(Forms &forms);

    Samples keystroke(int runs);

    QString problem() const { return m_problem; }

    // Sixteen rows of 32 characters, every code one with a picture.
    static QStringList fullMap();

private:
    QPointer<MapEditor> m_editor;
    PaintCount *m_previewPaints = nullptr;
    QString m_problem;
};
