// SPDX-License-Identifier: GPL-3.0-or-later
#include "AnimationBench.h"

#include "About.h"
#include "CpuMeter.h"
#include "Forms.h"
#include "Game_Screen.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QTimer>

namespace {

// Lets a window that was closed be disposed of, so that the next
// measurement starts with only its own windows open.
void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

AnimationBench::AnimationBench(Forms &forms)
    : m_forms(forms)
{
}

AnimationBench::Use AnimationBench::about(double seconds)
{
    closeAll();
    Use use;
    QEventLoop loop;
    const CpuMeter meter;
    m_forms.show(FormId::About);
    // The credits run for as long as the window is open, so the reading is
    // taken before closing it.
    QTimer::singleShot(int(seconds * 1000), Qt::PreciseTimer, &loop, [&] {
        use = {meter.percentOfCore(), meter.cpuSeconds(), meter.wallSeconds()};
        // A character every 0.09 s: a stalled animation would cost nothing
        // and pass for a thrifty one.
        const auto typed = m_forms.get<About>()->Label1->text().size();
        if (typed < qsizetype(seconds / 0.09) / 2)
            m_problem = QStringLiteral("the about screen typed only %1 characters").arg(typed);
        m_forms.unload(FormId::About);
        loop.quit();
    });
    loop.exec();
    closeAll();
    return use;
}

AnimationBench::Use AnimationBench::endDisplay()
{
    closeAll();
    auto *screen = m_forms.get<Game_Screen>();
    m_forms.show(FormId::GameScreen);
    screen->Label2->setText(QStringLiteral("20"));
    screen->loadscreen(19);
    settle();

    const CpuMeter meter;
    QEventLoop loop;
    QObject::connect(screen, &Form::unloaded, &loop, &QEventLoop::quit);
    screen->finish();
    loop.exec();
    const Use use{meter.percentOfCore(), meter.cpuSeconds(), meter.wallSeconds()};
    // The display ends by opening the about screen and closing the play
    // screen, about 17.5 s after it started.
    if (use.wallSeconds < 17 || !m_forms.isLoaded(FormId::About) || m_forms.isLoaded(FormId::GameScreen))
        m_problem = QStringLiteral("the end-of-game display did not run its course");
    closeAll();
    return use;
}

void AnimationBench::closeAll()
{
    // The end of the display leaves the about screen and the load-level
    // screen open; neither asks anything when closed.
    for (const FormId id : {FormId::GameScreen, FormId::About, FormId::LoadFiles})
        m_forms.unload(id);
    settle();
}
