// SPDX-License-Identifier: GPL-3.0-or-later
#include "StepTimer.h"

#include <QTimer>

#include <algorithm>
#include <cmath>

StepTimer::StepTimer(QObject *parent)
    : QObject(parent)
    , m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    // The pauses are the rhythm of an animation; a coarse timer would let
    // them drift by several per cent.
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &StepTimer::run);
}

void StepTimer::start(double seconds, Step step)
{
    m_step = std::move(step);
    schedule(seconds);
}

void StepTimer::stop()
{
    m_timer->stop();
    m_step = nullptr;
}

void StepTimer::schedule(double seconds)
{
    m_timer->start(int(std::lround(std::max(0.0, seconds) * 1000 / m_speed)));
}

void StepTimer::run()
{
    // The step may stop this machine or start another one in its place; the
    // pause it returns belongs only to the machine it was part of.
    const Step step = m_step;
    if (!step)
        return;
    const std::optional<double> pause = step();
    if (!m_step || m_timer->isActive())
        return;
    if (pause)
        schedule(*pause);
    else
        m_step = nullptr;
}
