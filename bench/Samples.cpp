// SPDX-License-Identifier: GPL-3.0-or-later
#include "Samples.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace {

qint64 nanoseconds(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

} // namespace

void Samples::reserve(std::size_t count)
{
    m_wallNs.reserve(count);
    m_cpuNs.reserve(count);
}

Samples::Stamp Samples::now()
{
    return {nanoseconds(CLOCK_MONOTONIC), nanoseconds(CLOCK_THREAD_CPUTIME_ID)};
}

void Samples::add(const Stamp &start, const Stamp &end)
{
    m_wallNs.push_back(end.wallNs - start.wallNs);
    m_cpuNs.push_back(end.cpuNs - start.cpuNs);
}

double Samples::quantile(std::vector<qint64> nanoseconds, double share)
{
    if (nanoseconds.empty())
        return 0;
    std::sort(nanoseconds.begin(), nanoseconds.end());
    // Between the two nearest runs, so that an even count gives the usual
    // median.
    const double position = std::clamp(share, 0.0, 1.0) * double(nanoseconds.size() - 1);
    const std::size_t below = std::size_t(std::floor(position));
    const std::size_t above = std::min(below + 1, nanoseconds.size() - 1);
    const double weight = position - double(below);
    return (double(nanoseconds[below]) * (1 - weight) + double(nanoseconds[above]) * weight) / 1e6;
}
