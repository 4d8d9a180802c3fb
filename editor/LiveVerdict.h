// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LevelCheck.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QThread>

#include <atomic>
#include <optional>

// Judges the level in the editor's boxes while the designer goes on editing:
// the check runs on a thread of its own, one at a time, and a level asked
// for while another is being judged replaces whatever was waiting, so only
// the last change is ever told.
class LiveVerdict : public QObject
{
    Q_OBJECT

public:
    explicit LiveVerdict(QObject *parent);
    // Gives the check under way up through the solver's stop flag and waits
    // the moment it takes to end.
    ~LiveVerdict() override;

    // The level as the lines of its file.
    void request(const QStringList &lines);
    bool isWorking() const { return m_thread != nullptr; }

signals:
    // The lines asked for last, and what the check found.
    void judged(const QStringList &lines, const LevelCheck &check);

private:
    void startNext();
    void finished(const QStringList &lines, const LevelCheck &check);

    std::optional<QStringList> m_waiting;
    // Raised when the check under way has lost its point: a newer level
    // waits, or the editor goes.
    std::atomic_bool m_stop = false;
    QPointer<QThread> m_thread;
};
