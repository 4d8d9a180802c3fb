// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LevelCheck.h"

#include <QObject>
#include <QStringList>
#include <QThread>

#include <atomic>
#include <memory>
#include <optional>

// Judges the level in the editor's boxes while the designer goes on editing:
// the check runs on a thread of its own, one at a time, and a level asked
// for while another is being judged replaces whatever was waiting, so only
// the last change is ever told. The last answer is kept, so that a question
// about the same level needs no second search.
class LiveVerdict : public QObject
{
    Q_OBJECT

public:
    explicit LiveVerdict(QObject *parent);
    // Gives the check under way up through the solver's stop flag and waits
    // the moment it takes to end.
    ~LiveVerdict() override;

    // The level as the lines of its file. The level being judged already,
    // with nothing newer waiting, is not judged again.
    void request(const QStringList &lines);
    bool isWorking() const { return m_thread != nullptr; }
    // The last answer, when it was for exactly these lines.
    const LevelCheck *lastFor(const QStringList &lines) const;

signals:
    // The lines asked for last, and what the check found.
    void judged(const QStringList &lines, const LevelCheck &check);

private:
    void startNext();
    void finished(const QStringList &lines, const LevelCheck &check);
    void stopThread();

    std::optional<QStringList> m_waiting;
    QStringList m_judging;
    std::optional<std::pair<QStringList, LevelCheck>> m_last;
    // Raised when the check under way has lost its point: a newer level
    // waits, or the editor goes.
    std::atomic_bool m_stop = false;
    std::unique_ptr<QThread> m_thread;
};
