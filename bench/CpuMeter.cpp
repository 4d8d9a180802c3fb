// SPDX-License-Identifier: GPL-3.0-or-later
#include "CpuMeter.h"

#include <ctime>

CpuMeter::CpuMeter()
    : m_cpuStart(processCpuSeconds())
    , m_wallStart(wallClockSeconds())
{
}

double CpuMeter::cpuSeconds() const
{
    return processCpuSeconds() - m_cpuStart;
}

double CpuMeter::wallSeconds() const
{
    return wallClockSeconds() - m_wallStart;
}

double CpuMeter::percentOfCore() const
{
    const double wall = wallSeconds();
    return wall > 0 ? 100 * cpuSeconds() / wall : 0;
}

double CpuMeter::processCpuSeconds()
{
    // User and system time of every thread of the process.
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

double CpuMeter::wallClockSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}
