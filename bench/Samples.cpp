#include "Samples.h"

#include <algorithm>
#include <cmath>

double Samples::quantileMs(double share) const
{
    if (m_nanoseconds.empty())
        return 0;
    std::vector<qint64> sorted = m_nanoseconds;
    std::sort(sorted.begin(), sorted.end());
    // Between the two nearest runs, so that an even count gives the usual
    // median.
    const double position = std::clamp(share, 0.0, 1.0) * double(sorted.size() - 1);
    const std::size_t below = std::size_t(std::floor(position));
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    const double weight = position - double(below);
    return (double(sorted[below]) * (1 - weight) + double(sorted[above]) * weight) / 1e6;
}
