// SPDX-License-Identifier: GPL-3.0-or-later
#include "SolverBench.h"

#include "LevelCheck.h"
#include "LevelFile.h"

#include <QDir>

SolverBench::Result SolverBench::check(const QString &fileName, int runs)
{
    Result result;
    const auto lines = LevelFile::read(QDir(QStringLiteral(VELTRANO_BENCH_MAPS)).filePath(fileName));
    if (!lines) {
        m_problem = fileName + QStringLiteral(" cannot be read");
        return result;
    }
    result.samples.reserve(std::size_t(runs));
    for (int run = 0; run < runs; ++run) {
        std::optional<LevelCheck> check;
        result.samples.time([&] { check.emplace(LevelCheck::ofLines(*lines)); });
        if (!check->route()) {
            m_problem = fileName + QStringLiteral(": the check found no route");
            return result;
        }
        result.overBound = double(check->route()->keys.size()) / check->route()->lowerBound;
    }
    return result;
}
