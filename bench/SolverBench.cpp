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
        m_problems.append(fileName + QStringLiteral(" cannot be read"));
        return result;
    }
    result.samples.reserve(std::size_t(runs));
    for (int run = 0; run < runs; ++run) {
        std::optional<LevelCheck> check;
        result.samples.time([&] { check.emplace(LevelCheck::ofLines(*lines)); });
        const std::optional<Route> &route = check->route();
        result.overBound = route && route->lowerBound > 0
                               ? std::optional<double>(double(route->keys.size()) / route->lowerBound)
                               : std::nullopt;
        if (const QString wrong = wrongAnswer(fileName, *check); !wrong.isEmpty()) {
            m_problems.append(wrong);
            return result;
        }
    }
    return result;
}

QString SolverBench::wrongAnswer(const QString &fileName, const LevelCheck &check)
{
    // Every map kept here was drawn to be won at a human pace.
    if (!check.winnable())
        return fileName + QStringLiteral(": judged not winnable: ") + check.sentence();
    const std::optional<Route> &route = check.route();
    if (!route)
        return fileName + QStringLiteral(": judged winnable without a route");
    if (route->lowerBound <= 0)
        return fileName + QStringLiteral(": the check proved no lower bound for its route of %1 moves")
                              .arg(route->keys.size());
    if (double(route->keys.size()) > MostOverBound * route->lowerBound)
        return fileName + QStringLiteral(": the route of %1 moves is more than 10 % over its lower bound of %2")
                              .arg(route->keys.size())
                              .arg(route->lowerBound);
    return {};
}
