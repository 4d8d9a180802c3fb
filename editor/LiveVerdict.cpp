// SPDX-License-Identifier: GPL-3.0-or-later
#include "LiveVerdict.h"

LiveVerdict::LiveVerdict(QObject *parent)
    : QObject(parent)
{
}

LiveVerdict::~LiveVerdict()
{
    m_stop = true;
    stopThread();
}

void LiveVerdict::stopThread()
{
    if (m_thread)
        m_thread->wait();
    m_thread.reset();
}

const LevelCheck *LiveVerdict::lastFor(const QStringList &lines) const
{
    return m_last && m_last->first == lines ? &m_last->second : nullptr;
}

void LiveVerdict::request(const QStringList &lines)
{
    // Back to the level under way, before it was given up: whatever waited
    // has lost its point.
    if (m_thread && lines == m_judging && !m_stop) {
        m_waiting.reset();
        return;
    }
    m_waiting = lines;
    if (m_thread)
        m_stop = true;
    else
        startNext();
}

void LiveVerdict::startNext()
{
    m_judging = *m_waiting;
    m_waiting.reset();
    m_stop = false;
    m_thread.reset(QThread::create([this, lines = m_judging] {
        const LevelCheck check = LevelCheck::ofLines(lines, &m_stop);
        // Queued: the answer is taken on the editor's own thread, and is
        // dropped with this object if the editor is gone by then.
        QMetaObject::invokeMethod(this, [this, lines, check] { finished(lines, check); }, Qt::QueuedConnection);
    }));
    m_thread->start(QThread::LowPriority);
}

void LiveVerdict::finished(const QStringList &lines, const LevelCheck &check)
{
    stopThread();
    m_judging.clear();
    if (!check.stopped())
        m_last.emplace(lines, check);
    if (m_waiting) {
        startNext();
        return;
    }
    if (!check.stopped())
        emit judged(lines, check);
}
