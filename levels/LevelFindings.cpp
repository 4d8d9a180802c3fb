// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelFindings.h"

#include "Arrow.h"
#include "Twips.h"

#include <cmath>

namespace {

QString keyNames(const QString &keys)
{
    QStringList names;
    for (const QChar key : keys) {
        if (const auto arrow = Arrow::ofLetter(key))
            names.append(Arrow::name(*arrow));
    }
    return names.join(u' ');
}

QString counted(qsizetype count, const QString &one, const QString &many)
{
    return count == 1 ? QStringLiteral("1 ") + one : QString::number(count) + u' ' + many;
}

QString faultLine(LevelRecord::FileFault fault, const QString &text)
{
    const QString shown = LevelFindings::quoted(text);
    switch (fault) {
    case LevelRecord::FileFault::None:
        return {};
    case LevelRecord::FileFault::StartX:
        return QStringLiteral("line 1: the start X %1 is not a whole number of twips").arg(shown);
    case LevelRecord::FileFault::StartY:
        return QStringLiteral("line 2: the start Y %1 is not a whole number of twips").arg(shown);
    case LevelRecord::FileFault::StartXRange:
        return QStringLiteral("line 1: the start X %1 is out of range").arg(shown);
    case LevelRecord::FileFault::StartYRange:
        return QStringLiteral("line 2: the start Y %1 is out of range").arg(shown);
    case LevelRecord::FileFault::Color:
        return QStringLiteral("line 3: the colour %1 is not a colour value").arg(shown);
    case LevelRecord::FileFault::ColorRange:
        return QStringLiteral("line 3: the colour %1 is out of range").arg(shown);
    case LevelRecord::FileFault::Time:
        return QStringLiteral("line 4: the time limit %1 is not a number").arg(shown);
    case LevelRecord::FileFault::NoMap:
        return QStringLiteral("lines %1 to %2: the map holds no codes")
            .arg(LevelRecord::fileLineOfRow(0))
            .arg(LevelRecord::FileLinesRead);
    }
    Q_UNREACHABLE();
}

const QString Undecided = QStringLiteral("not decided: no route found within the search's limit");

} // namespace

QString LevelFindings::quoted(const QString &text)
{
    constexpr qsizetype Shown = 40;
    QString shown;
    for (const QChar c : text.left(Shown)) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    if (text.size() > Shown)
        shown += QStringLiteral("...");
    return u'"' + shown + u'"';
}

QString LevelFindings::paceFigure(double movesASecond)
{
    return QString::number(movesASecond, 'f', 2);
}

QString LevelFindings::pace(double movesASecond)
{
    if (std::isinf(movesASecond))
        return QStringLiteral("no number of moves a second");
    return paceFigure(movesASecond) + QStringLiteral(" moves a second");
}

QString LevelFindings::paceNeeded(double movesASecond)
{
    if (movesASecond == 0)
        return QStringLiteral("the time never runs out");
    if (std::isinf(movesASecond))
        return QStringLiteral("no number of moves a second gets out in time");
    return QStringLiteral("needs ") + pace(movesASecond);
}

QString LevelFindings::percent(double share)
{
    return QStringLiteral("%1 %").arg(std::lround(share * 100));
}

QString LevelFindings::figures(const LevelDifficulty &difficulty)
{
    const QString spare = difficulty.spare() ? percent(*difficulty.spare()) + QStringLiteral(" of the time to spare")
                                             : QStringLiteral("no time limit");
    const int count = difficulty.deadEnds();
    const QString deadEnds = count == 0 ? QStringLiteral("no dead end")
                                        : counted(count, QStringLiteral("dead end"), QStringLiteral("dead ends"));
    return QStringList{pace(difficulty.pace()), spare, deadEnds}.join(QStringLiteral(", "));
}

QStringList LevelFindings::report(bool withRoute) const
{
    switch (verdict) {
    case Verdict::Unreadable:
        return {QStringLiteral("cannot be read; cannot be won")};
    case Verdict::Refused:
        return {faultLine(fault, faultText) + QStringLiteral("; cannot be won")};
    default:
        break;
    }
    QStringList lines;
    if (map) {
        lines.append(QStringLiteral("map %1 x %2, screen cash %3, exits %4, time %5")
                         .arg(map->columns)
                         .arg(map->rows)
                         .arg(map->screenCash)
                         .arg(map->exits)
                         .arg(map->time.trimmed()));
    }
    for (const UnknownCode &unknown : unknownCodes) {
        lines.append(QStringLiteral("line %1: %2 at column %3 names no tile; the figure meets it as a wall")
                         .arg(unknown.line)
                         .arg(quoted(unknown.code))
                         .arg(unknown.column));
    }
    if (moreUnknownCodes > 0)
        lines.append(QStringLiteral("%1 more codes name no tile").arg(moreUnknownCodes));

    if (verdict == Verdict::BadStart) {
        lines.append(problem + QStringLiteral("; put the start on the floor"));
        return lines;
    }
    if (!route) {
        lines += problems;
        lines.append(verdict == Verdict::Blocked ? QStringLiteral("cannot be won") : Undecided);
        return lines;
    }
    const qsizetype cash = map ? map->screenCash : 0;
    if (cash == 0)
        lines.append(QStringLiteral("nothing to collect, and the exit can be reached"));
    else if (cash == 1)
        lines.append(QStringLiteral("the one banknote or diamond can be reached, and the exit"));
    else
        lines.append(QStringLiteral("all %1 banknotes and diamonds can be reached, and the exit").arg(cash));

    const QString length = route->shortest ? QStringLiteral("the shortest")
                                           : QStringLiteral("none is shorter than %1").arg(route->lowerBound);
    const QString clocks = route->clocks == 0 ? QStringLiteral("no clock")
                                              : counted(route->clocks, QStringLiteral("clock"), QStringLiteral("clocks"));
    QString outcome;
    switch (verdict) {
    case Verdict::Winnable:
        outcome = QStringLiteral("winnable");
        break;
    case Verdict::TooFast:
        outcome = QStringLiteral("cannot be won at %1 moves a second").arg(LevelSolver::HumanPace);
        break;
    default:
        outcome = Undecided;
        break;
    }
    lines.append(QStringLiteral("route of %1 moves (%2), %3, %4: %5")
                     .arg(route->keys.size())
                     .arg(length, clocks, paceNeeded(route->pace), outcome));
    if (difficulty)
        lines.append(QStringLiteral("difficulty: ") + figures(*difficulty));
    if (withRoute && verdict == Verdict::Winnable)
        lines.append(QStringLiteral("route: ") + keyNames(route->keys));
    return lines;
}

QString LevelFindings::sentence() const
{
    const QString humanPace = QStringLiteral("%1 moves a second").arg(LevelSolver::HumanPace);
    const QString cannot = QStringLiteral("This level cannot be won: %1.");
    QString text;
    switch (verdict) {
    case Verdict::Winnable:
        text = QStringLiteral("This level can be won: a route of %1 moves").arg(route->keys.size());
        if (route->clocks > 0)
            text += QStringLiteral(" taking ") + counted(route->clocks, QStringLiteral("clock"), QStringLiteral("clocks"));
        text += route->pace == 0 ? QStringLiteral(", and the time never runs out.")
                                 : QStringLiteral(", at %1.").arg(pace(route->pace));
        break;
    case Verdict::TooFast:
        text = cannot.arg(QStringLiteral("no route gets out in time at %1, whichever clocks it takes (the quickest "
                                         "found, of %2 moves, %3)")
                              .arg(humanPace)
                              .arg(route->keys.size())
                              .arg(paceNeeded(route->pace)));
        break;
    case Verdict::Blocked:
        text = cannot.arg(problem);
        break;
    case Verdict::Undecided:
        // A map the search declined says why; otherwise the search ran out.
        text = QStringLiteral("Whether this level can be won is not decided: %1.")
                   .arg(route ? QStringLiteral("no route was found within the search's limit") : problem);
        break;
    case Verdict::BadStart:
        text = QStringLiteral("This level cannot be played as it stands: %1. Put the start on the floor.").arg(problem);
        break;
    case Verdict::Refused:
        // The reason in the words the load-level screen gives it.
        return QStringLiteral("This level cannot be won. ") + LevelRecord::faultText(fault);
    case Verdict::Unreadable:
        return cannot.arg(QStringLiteral("its file cannot be read"));
    }
    if (offBoard > 0) {
        text += QStringLiteral(" %1 outside the %2 × %2 board the player sees.")
                    .arg(offBoard == 1 ? QStringLiteral("1 banknote or diamond lies")
                                       : QStringLiteral("%1 banknotes and diamonds lie").arg(offBoard))
                    .arg(Twips::MapCells);
    }
    return text;
}
