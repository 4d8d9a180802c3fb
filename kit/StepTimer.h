// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <functional>
#include <optional>

class QTimer;

// Runs a window's timed steps one after another on a single-shot timer: each
// step makes its change and says how long to wait before the next one, or
// that it was the last. Nothing waits in between, so every window keeps
// handling its events, and a machine owned by a window goes with it.
class StepTimer : public QObject
{
    Q_OBJECT

public:
    // The change of one step; returns the pause in seconds before the next,
    // or nothing when the machine has run its course.
    using Step = std::function<std::optional<double>()>;

    explicit StepTimer(QObject *parent);

    // Runs step after the given seconds, and again after every pause it
    // returns. A machine already running is replaced.
    void start(double seconds, Step step);
    // No further step runs until the next start.
    void stop();
    bool isActive() const { return m_step != nullptr; }

    // How many times faster than real time the pauses pass: 1 in the game;
    // a test raises it to run a long display in a moment.
    void setSpeed(double speed) { m_speed = speed; }

private:
    void schedule(double seconds);
    void run();

    QTimer *m_timer;
    Step m_step;
    double m_speed = 1;
};
