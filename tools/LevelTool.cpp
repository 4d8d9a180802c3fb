// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelTool.h"

#include "LevelCheck.h"
#include "LevelDifficulty.h"
#include "LevelFile.h"
#include "LevelFindings.h"
#include "LevelReplay.h"
#include "LevelRun.h"
#include "LevelSolver.h"
#include "LevelTable.h"

#include <QDir>

#include <vector>

LevelTool::LevelTool(QTextStream &out, QTextStream &err)
    : m_out(out)
    , m_err(err)
{
}

int LevelTool::run(const QStringList &arguments)
{
    if (arguments.size() >= 2 && arguments.first() == u"check")
        return check(arguments.mid(1));
    if (arguments.size() == 2 && arguments.first() == u"export")
        return exportLevels(arguments.at(1));
    if (!arguments.isEmpty() && arguments.size() <= 2 && arguments.first() == u"curve")
        return curve(arguments.mid(1));
    if (arguments.size() == 3 && arguments.first() == u"replay")
        return replay(arguments.at(1), arguments.at(2));
    return usage();
}

int LevelTool::usage()
{
    m_err << "Usage: veltrano-levels check [--route] FILE.lvl...\n"
             "       veltrano-levels curve [DIR]\n"
             "       veltrano-levels export DIR\n"
             "       veltrano-levels replay FILE.lvl RUN\n"
             "check   tells for each level file its map size, screen cash and exits, what\n"
             "        cannot be reached, and the shortest route found with the moves a\n"
             "        second it needs, the share of the time it leaves spare and the dead\n"
             "        ends it walks into and out of; --route also gives that route as\n"
             "        arrow keys. Exits with 1 when a file cannot be won at "
          << LevelSolver::HumanPace
          << "\n"
             "        moves a second, and otherwise with 3 when the search could not\n"
             "        decide whether one can.\n"
             "curve   prints those figures for the level files in DIR, in the order of\n"
             "        their names, or for the twenty built-in levels, one line a level.\n"
             "        Exits with 1 when a level cannot be won or the pace does not rise:\n"
             "        a level more than "
          << LevelDifficulty::MostEasing
          << " moves a second easier than the one before it,\n"
             "        one asking for more than "
          << LevelDifficulty::MostPace
          << ", or the last level not the hardest.\n"
             "export  writes the twenty built-in levels into DIR as level01.lvl to\n"
             "        level20.lvl.\n"
             "replay  plays a run the game recorded (such as BestRun07.Log) on the level\n"
             "        file by the game's rules and tells how it ended: \"won, S seconds\n"
             "        left, P points\" or \"lost: \" and why. Exits with 1 when it is lost.\n";
    m_err.flush();
    return Usage;
}

int LevelTool::check(const QStringList &arguments)
{
    QStringList files = arguments;
    const bool withRoute = files.removeAll(QStringLiteral("--route")) > 0;
    if (files.isEmpty())
        return usage();
    bool anyLost = false;
    bool anyUndecided = false;
    for (const QString &file : std::as_const(files)) {
        const LevelCheck level(file);
        const bool undecided = level.verdict() == LevelCheck::Verdict::Undecided;
        anyUndecided = anyUndecided || undecided;
        anyLost = anyLost || (!level.winnable() && !undecided);
        for (const QString &line : level.report(withRoute))
            m_out << file << ": " << line << '\n';
    }
    m_out.flush();
    return anyLost ? Failed : anyUndecided ? Undecided : Done;
}

int LevelTool::exportLevels(const QString &directory)
{
    if (!QDir().mkpath(directory)) {
        m_err << "Cannot make the directory " << directory << ".\n";
        m_err.flush();
        return Failed;
    }
    const QDir target(directory);
    for (int slot = 0; slot < LevelTable::BuiltInLevels; ++slot) {
        const LevelRecord level = LevelTable::slot(slot);
        // Level 8 follows the desktop's button face, which a file cannot
        // hold; it gets the light grey that stands in for it.
        const quint32 color = level.color.value_or(LevelTable::ButtonFaceGrey);
        const QPoint start = level.startTwips();
        QStringList lines = LevelRecord::headerLines(start.x(), start.y(), color, level.time);
        lines += level.rows;
        const QString path = target.filePath(QStringLiteral("level%1.lvl").arg(slot + 1, 2, 10, QLatin1Char('0')));
        if (!LevelFile::write(path, lines)) {
            m_err << "Cannot write " << path << ".\n";
            m_err.flush();
            return Failed;
        }
        m_out << "Wrote " << path << '\n';
    }
    m_out.flush();
    return Done;
}

int LevelTool::replay(const QString &levelPath, const QString &runPath)
{
    const std::optional<QStringList> lines = LevelFile::read(levelPath);
    const std::optional<LevelRun> run = LevelRun::read(runPath);
    LevelReplay::Result result;
    if (!lines)
        result.why = QStringLiteral("the level file cannot be read");
    else if (const QString problem = LevelRecord::playProblem(*lines); !problem.isEmpty())
        result.why = QStringLiteral("the game will not play the level: ") + problem;
    else if (!run)
        result.why = QStringLiteral("the run cannot be read");
    else
        result = LevelReplay::play(LevelRecord::fromFileLines(*lines), *run);
    m_out << LevelReplay::line(result) << '\n';
    m_out.flush();
    return result.won ? Done : Failed;
}

int LevelTool::curve(const QStringList &arguments)
{
    QStringList names;
    std::vector<LevelCheck> levels;
    if (arguments.isEmpty()) {
        for (int slot = 0; slot < LevelTable::BuiltInLevels; ++slot) {
            names.append(QStringLiteral("level %1").arg(slot + 1));
            levels.emplace_back(LevelTable::slot(slot));
        }
    } else {
        const QDir directory(arguments.first());
        if (!directory.exists()) {
            m_err << "There is no directory " << arguments.first() << ".\n";
            m_err.flush();
            return Failed;
        }
        const QStringList files = directory.entryList({QStringLiteral("*.lvl")}, QDir::Files, QDir::Name);
        if (files.isEmpty()) {
            m_err << "There are no level files in " << arguments.first() << ".\n";
            m_err.flush();
            return Failed;
        }
        for (const QString &file : files) {
            names.append(file);
            levels.emplace_back(directory.filePath(file));
        }
    }

    int nameWidth = 5;
    for (const QString &name : std::as_const(names))
        nameWidth = std::max(nameWidth, int(name.size()));
    m_out << QStringLiteral("%1  moves  bound   pace  change  spare  dead ends\n").arg(QStringLiteral("level"), -nameWidth);
    QStringList breaks;
    // The pace of the level before, while that one could be won.
    double before = 0;
    bool beforeWon = false;
    double hardest = 0;
    qsizetype hardestAt = -1;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const LevelCheck &level = levels.at(i);
        const QString name = names.at(qsizetype(i));
        if (!level.route() || !level.winnable()) {
            m_out << name.leftJustified(nameWidth) << "  cannot be won\n";
            breaks.append(name + QStringLiteral(" cannot be won"));
            beforeWon = false;
            continue;
        }
        const Route &route = *level.route();
        const LevelDifficulty &difficulty = *level.difficulty();
        const double pace = difficulty.pace();
        const QString change = beforeWon ? QString::asprintf("%+.2f", pace - before) : QString();
        const QString spare = difficulty.spare() ? LevelFindings::percent(*difficulty.spare()) : QStringLiteral("-");
        // Pieced together rather than filled in, so that a file name holding
        // a "%1" stays as it is.
        m_out << name.leftJustified(nameWidth) << "  " << QString::number(route.keys.size()).rightJustified(5) << "  "
              << QString::number(route.lowerBound).rightJustified(5) << "  "
              << LevelFindings::paceFigure(pace).rightJustified(5) << "  " << change.rightJustified(6) << "  "
              << spare.rightJustified(5) << "  " << QString::number(difficulty.deadEnds()).rightJustified(9) << '\n';
        if (beforeWon && pace < before - LevelDifficulty::MostEasing) {
            breaks.append(QStringLiteral("%1 is %2 easier than the level before it")
                              .arg(name, LevelFindings::pace(before - pace)));
        }
        if (pace > LevelDifficulty::MostPace)
            breaks.append(QStringLiteral("%1 asks for more than %2 moves a second")
                              .arg(name, QString::number(LevelDifficulty::MostPace)));
        if (hardestAt < 0 || pace >= hardest) {
            hardest = pace;
            hardestAt = qsizetype(i);
        }
        before = pace;
        beforeWon = true;
    }
    if (hardestAt >= 0 && hardestAt != qsizetype(levels.size()) - 1 && levels.back().winnable())
        breaks.append(names.at(hardestAt) + QStringLiteral(" is harder than the last level"));
    if (breaks.isEmpty())
        m_out << "The pace rises from level to level.\n";
    for (const QString &line : std::as_const(breaks))
        m_out << line << '\n';
    m_out.flush();
    return breaks.isEmpty() ? Done : Failed;
}
