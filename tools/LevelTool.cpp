#include "LevelTool.h"

#include "LevelCheck.h"
#include "LevelFile.h"
#include "LevelSolver.h"
#include "LevelTable.h"

#include <QDir>

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
    return usage();
}

int LevelTool::usage()
{
    m_err << "Usage: veltrano-levels check [--route] FILE.lvl...\n"
             "       veltrano-levels export DIR\n"
             "check   tells for each level file its map size, screen cash and exits, what\n"
             "        cannot be reached, and the shortest route found with the moves a\n"
             "        second it needs; --route also gives that route as arrow keys.\n"
             "        Exits with 1 when a file cannot be won at "
          << LevelSolver::HumanPace
          << " moves a second.\n"
             "export  writes the twenty built-in levels into DIR as level01.lvl to\n"
             "        level20.lvl.\n";
    m_err.flush();
    return Usage;
}

int LevelTool::check(const QStringList &arguments)
{
    QStringList files = arguments;
    const bool withRoute = files.removeAll(QStringLiteral("--route")) > 0;
    if (files.isEmpty())
        return usage();
    bool allWinnable = true;
    for (const QString &file : std::as_const(files)) {
        const LevelCheck level(file);
        allWinnable = allWinnable && level.winnable();
        for (const QString &line : level.report(withRoute))
            m_out << file << ": " << line << '\n';
    }
    m_out.flush();
    return allWinnable ? Done : Failed;
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
        const quint32 color = level.color.value_or(LevelTable::rgb(192, 192, 192));
        QStringList lines{level.locationX, level.locationY, QString::number(color), level.time};
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
