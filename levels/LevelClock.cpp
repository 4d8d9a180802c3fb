// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelClock.h"

#include <cmath>

qint64 LevelClock::runTo(qint64 at)
{
    if (!m_running || at <= m_now)
        return 0;
    const qint64 ticks = at / Second - m_now / Second;
    m_now = at;
    return ticks;
}

qint64 LevelClock::keyTime(qint64 key, double pace)
{
    return qint64(std::floor(double(key) * double(Second) / pace));
}
