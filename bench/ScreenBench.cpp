// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScreenBench.h"

#include "Board.h"
#include "Forms.h"
#include "Game_Screen.h"
#include "LevelTable.h"
#include "PaintCount.h"
#include "Pictures.h"
#include "TileCodes.h"
#include "Twips.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>

namespace {

constexpr int WarmUpRuns = 20;

// Lets the event loop deliver what a handler left behind: the update
// requests, and with them the repaint of every part it marked.
void deliverPending()
{
    QCoreApplication::processEvents();
}

} // namespace

ScreenBench::ScreenBench(Forms &forms)
    : m_screen(forms.get<Game_Screen>())
{
    forms.show(FormId::GameScreen);
    m_playAreaPaints = new PaintCount(m_screen->findChild<Board *>());
    buildLastLevel();
}

void ScreenBench::buildLastLevel()
{
    m_screen->Label2->setText(QString::number(LastSlot + 1));
    m_screen->loadscreen(LastSlot);
    deliverPending();
}

Samples ScreenBench::loadscreen(int runs)
{
    Samples samples;
    samples.reserve(std::size_t(runs));
    for (int run = -WarmUpRuns; run < runs; ++run) {
        const int paintsBefore = m_playAreaPaints->count();
        const auto build = [this] {
            m_screen->loadscreen(LastSlot);
            deliverPending();
        };
        if (run < 0)
            build();
        else
            samples.time(build);
        if (m_playAreaPaints->count() == paintsBefore)
            m_problem = QStringLiteral("a build did not repaint the play area");
    }
    return samples;
}

Samples ScreenBench::step(int runs)
{
    buildLastLevel();
    const int startLeft = m_screen->Image3().left;
    Samples samples;
    samples.reserve(std::size_t(runs));
    for (int run = -WarmUpRuns; run < runs; ++run) {
        // The clock starts at the first key; keep it far from running out,
        // where a message would stop the run.
        if (run % 500 == 0) {
            m_screen->Label5->setText(QStringLiteral("30"));
            deliverPending();
        }
        // Left from the start cell, right back onto it.
        const bool left = m_screen->Image3().left == startLeft;
        const int expectedLeft = left ? startLeft - Twips::Cell : startLeft;
        QKeyEvent press(QEvent::KeyPress, left ? Qt::Key_Left : Qt::Key_Right, Qt::NoModifier);
        const int paintsBefore = m_playAreaPaints->count();
        const auto step = [this, &press] {
            QCoreApplication::sendEvent(m_screen, &press);
            deliverPending();
        };
        if (run < 0)
            step();
        else
            samples.time(step);
        if (m_screen->Image3().left != expectedLeft)
            m_problem = QStringLiteral("an arrow key did not move the figure");
        if (m_playAreaPaints->count() == paintsBefore)
            m_problem = QStringLiteral("a step did not repaint the play area");
    }
    // Building again stops the level clock the steps started.
    buildLastLevel();
    return samples;
}

Samples ScreenBench::floor(int runs)
{
    // The pictures of level 20 in reading order; the floor cells get the
    // wall's picture so that every cell is one drawPixmap call.
    const LevelRecord level = LevelTable::slot(LastSlot);
    const QPixmap wall = Pictures::tile(QStringLiteral("85"));
    std::vector<QPixmap> cells;
    for (const QString &row : level.rows) {
        for (const QString &code : TileCodes::cutRow(row)) {
            const QPixmap picture = Pictures::tile(code);
            cells.push_back(picture.isNull() ? wall : picture);
        }
    }
    constexpr int side = Twips::toPixels(Twips::MapSize);
    constexpr int cell = Twips::toPixels(Twips::Cell);
    QPixmap canvas(side, side);
    canvas.fill(Qt::black);

    Samples samples;
    samples.reserve(std::size_t(runs));
    for (int run = -WarmUpRuns; run < runs; ++run) {
        const auto paint = [&canvas, &cells] {
            QPainter painter(&canvas);
            for (std::size_t i = 0; i < cells.size(); ++i)
                painter.drawPixmap(int(i % Twips::MapCells) * cell, int(i / Twips::MapCells) * cell, cells[i]);
        };
        if (run < 0)
            paint();
        else
            samples.time(paint);
    }
    return samples;
}
