// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Samples.h"

#include <QString>

// Times the winnability check, as the designers' tool and the editor run it,
// on the big maps kept in bench/maps, and how close its route comes to the
// lower bound it proves.
class SolverBench
{
public:
    struct Result
    {
        Samples samples;
        // Moves of the route over the lower bound, in the last run.
        double overBound = 0;
    };

    // The check of one level file, repeated runs times.
    Result check(const QString &fileName, int runs);

    QString problem() const { return m_problem; }

private:
    QString m_problem;
};
