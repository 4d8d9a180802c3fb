// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

struct _XDisplay;

// Times how long a program takes from being started to showing its first
// window in an X server: the clock runs from spawning the process until a
// window with the given title is mapped and the program has drawn into it.
// The drawing counts because a window is mapped before its first paint, and
// whatever a program puts off until then (loading fonts, laying out text) is
// part of showing it. Every program is timed the same way, so the game and
// the bare program compare fairly.
class StartClock
{
public:
    struct Start
    {
        double mappedMs = 0;
        double drawnMs = 0;
        // The processor time the program had used when it was ended, just
        // after drawing: what its start costs, however busy the machine.
        double cpuMs = 0;
    };

    // Connects to the X server the programs will show their windows on.
    explicit StartClock(const QString &display);
    ~StartClock();
    StartClock(const StartClock &) = delete;
    StartClock &operator=(const StartClock &) = delete;

    // False without the server or its damage extension, which reports the
    // first drawing into a window.
    bool isReady() const { return m_x != nullptr && m_damageEvents >= 0; }

    // Starts the program, waits for its window to be drawn, then ends the
    // program. Nothing when that did not happen within the timeout or the
    // program ended first.
    std::optional<Start> measure(const QString &program, const QString &title, int timeoutMs = 20000);

private:
    bool isTitled(unsigned long window, const QByteArray &title);

    _XDisplay *m_x = nullptr;
    int m_damageEvents = -1;
    QString m_display;
};
