// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Samples.h"

#include <QString>
#include <QStringList>

#include <optional>

class LevelCheck;

// Times the winnability check, as the designers' tool and the editor run it,
// on the big maps kept in bench/maps, and checks its answer: every one of
// them can be won, and the route it finds comes within a tenth of the lower
// bound it proves.
class SolverBench
{
public:
    // How far the route may run over the lower bound, as a ratio of moves.
    static constexpr double MostOverBound = 1.1;

    struct Result
    {
        Samples samples;
        // Moves of the route over the lower bound, in the last run; nothing
        // when that run found no route.
        std::optional<double> overBound;
    };

    // The check of one level file, repeated runs times; a wrong answer in
    // any run ends the runs and is one of the problems.
    Result check(const QString &fileName, int runs);

    QStringList problems() const { return m_problems; }

private:
    // What is wrong with the check's answer on the file; empty when it is
    // right.
    static QString wrongAnswer(const QString &fileName, const LevelCheck &check);

    QStringList m_problems;
};
