// SPDX-License-Identifier: GPL-3.0-or-later
#include "MemoryProbe.h"

#include "Board.h"
#include "EditorBench.h"
#include "Forms.h"
#include "Game_Screen.h"
#include "LevelTable.h"
#include "MapEditor.h"
#include "MapPreview.h"
#include "PaintCount.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>

namespace {

// Lets the window system show and paint what was changed; false when the
// widget got no paint within a few seconds.
bool waitForPaint(const PaintCount *paints, int before)
{
    const QDeadlineTimer deadline(5000);
    while (paints->count() == before) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

} // namespace

std::optional<qint64> MemoryProbe::runSession()
{
    Forms forms;
    forms.start();

    auto *screen = forms.get<Game_Screen>();
    const auto *playAreaPaints = new PaintCount(screen->findChild<Board *>());
    forms.show(FormId::GameScreen);
    for (int slot = 0; slot < LevelTable::BuiltInLevels; ++slot) {
        const int before = playAreaPaints->count();
        screen->Label2->setText(QString::number(slot + 1));
        screen->loadscreen(slot);
        if (!waitForPaint(playAreaPaints, before))
            return std::nullopt;
    }

    auto *editor = forms.get<MapEditor>();
    const auto *previewPaints = new PaintCount(editor->Picture2);
    const int before = previewPaints->count();
    forms.show(FormId::MapEditor);
    editor->Text1->setPlainText(EditorBench::fullMap().join(u'\n'));
    if (!waitForPaint(previewPaints, before))
        return std::nullopt;
    return peakKiB();
}

std::optional<qint64> MemoryProbe::peakKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    // A /proc file has no size, so it is read whole rather than to its end.
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            bool ok = false;
            const qint64 kib = line.mid(6).trimmed().split(' ').value(0).toLongLong(&ok);
            if (ok)
                return kib;
        }
    }
    return std::nullopt;
}
