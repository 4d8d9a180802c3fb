// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// The level clock as a player meets it: it stands still until the first key
// of a level, then ticks once every whole second of play. Time is counted in
// milliseconds of play since that key, pauses left out, so a pause keeps the
// part of a second already used: pausing again and again never keeps the
// clock from ticking. The play screen, the checker and a replay all count
// the same ticks for the same times.
class LevelClock
{
public:
    static constexpr qint64 Second = 1000;

    bool isRunning() const { return m_running; }
    // Milliseconds of play so far.
    qint64 now() const { return m_now; }
    // The time of play at which the next tick falls due.
    qint64 nextTick() const { return (m_now / Second + 1) * Second; }

    // A key starts a clock that stands; a running one runs on.
    void start() { m_running = true; }
    // Stands the clock still where it is, such as for a pause.
    void stop() { m_running = false; }

    // Moves the time of play on to at, never back, and says how many ticks
    // fell due on the way. A tick due at the very moment of a key comes
    // before the key, as the slower of the two outcomes. A clock standing
    // still does not move.
    qint64 runTo(qint64 at);

    // When the key-th key after the first falls for a player making one move
    // every 1/pace seconds. Rounded down to the millisecond, which keeps
    // every key on the same side of every tick as the exact time.
    static qint64 keyTime(qint64 key, double pace);

private:
    qint64 m_now = 0;
    bool m_running = false;
};
