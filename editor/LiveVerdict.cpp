// SPDX-License-Identifier: GPL-3.0-or-later
#include "LiveVerdict.h"

LiveVerdict::LiveVerdict(QObject *parent)
    : QObject(parent)
{
}

LiveVerdict::~LiveVerdict()
{
    if (m_thread) {
        m_stop = true;
        m_thread->wait();
        delete m_thread;
    }
}

void LiveVerdict::request(const QStringList &lines)
{
    m_waiting = lines;
    if (m_thread)
        m_stop = true;
    else
        startNext();
}

void LiveVerdict::startNext()
{
    const QStringList lines = *m_waiting;
    m_waiting.reset();
    m_stop = false;
    m_thread = QThread::create([this, lines] {
        const LevelCheck check = LevelCheck::ofLines(lines, &m_stop);
        // Queued: the answer is taken on the editor's own thread, and is
        // dropped with this object if the editor is gone by then.
        QMetaObject::invokeMethod(this, [this, lines, check] { finished(lines, check); }, Qt::QueuedConnection);
    });
    m_thread->start(QThread::LowPriority);
}

void LiveVerdict::finished(const QStringList &lines, const LevelCheck &check)
{
    m_thread->wait();
    delete m_thread;
    if (m_waiting) {
        startNext();
        return;
    }
    if (!check.stopped())
        emit judged(lines, check);
}
