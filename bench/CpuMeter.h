// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The processor time this process uses over a stretch of wall time, as a
// share of one core: a pause that sleeps uses next to nothing, one that
// spins uses all of it.
class CpuMeter
{
public:
    // Starts measuring.
    CpuMeter();

    double cpuSeconds() const;
    double wallSeconds() const;
    double percentOfCore() const;

private:
    static double processCpuSeconds();
    static double wallClockSeconds();

    const double m_cpuStart;
    const double m_wallStart;
};
