#pragma once

#include <QtGlobal>

#include <vector>

// The durations of many runs of one piece of work. Other programs share the
// machine, so a figure is the median: a run that a neighbour interrupted
// moves it little.
class Samples
{
public:
    void reserve(std::size_t count) { m_nanoseconds.reserve(count); }
    void add(qint64 nanoseconds) { m_nanoseconds.push_back(nanoseconds); }

    std::size_t count() const { return m_nanoseconds.size(); }
    double medianMs() const { return quantileMs(0.5); }
    // The duration that this share of the runs stayed under (0..1).
    double quantileMs(double share) const;
    double minimumMs() const { return quantileMs(0); }

private:
    std::vector<qint64> m_nanoseconds;
};
