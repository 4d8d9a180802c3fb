// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <vector>

// The durations of many runs of one piece of work, each taken twice: on the
// wall clock, which is what the player waits, and as this thread's processor
// time, which a neighbour taking the processor away does not inflate. Other
// programs share the machine, so a figure is the median: a run that was
// interrupted moves it little.
class Samples
{
public:
    void reserve(std::size_t count);

    // Runs the work once and records how long it took.
    template<class Work>
    void time(Work &&work)
    {
        const Stamp start = now();
        work();
        add(start, now());
    }

    std::size_t count() const { return m_wallNs.size(); }
    double medianMs() const { return quantileMs(0.5); }
    // The wall-clock duration that this share of the runs stayed under (0..1).
    double quantileMs(double share) const { return quantile(m_wallNs, share); }
    double minimumMs() const { return quantileMs(0); }
    double cpuQuantileMs(double share) const { return quantile(m_cpuNs, share); }

private:
    struct Stamp
    {
        qint64 wallNs;
        qint64 cpuNs;
    };

    static Stamp now();
    void add(const Stamp &start, const Stamp &end);
    static double quantile(std::vector<qint64> nanoseconds, double share);

    std::vector<qint64> m_wallNs;
    std::vector<qint64> m_cpuNs;
};
