// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

// The level designers' command-line tool, veltrano-levels: checks level files
// by the very rules the game plays by, plays recorded runs again, and writes
// the built-in levels out as level files to start new ones from.
class LevelTool
{
public:
    // Undecided: every file can be won or was not decided, and one was not.
    enum Status { Done = 0, Failed = 1, Usage = 2, Undecided = 3 };

    LevelTool(QTextStream &out, QTextStream &err);

    // The arguments after the program's name; returns the exit status.
    int run(const QStringList &arguments);

private:
    int usage();
    int check(const QStringList &arguments);
    int exportLevels(const QString &directory);
    int curve(const QStringList &arguments);
    int replay(const QString &levelPath, const QString &runPath);

    QTextStream &m_out;
    QTextStream &m_err;
};
