// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ProgramDir.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

// A program directory of the test's own: the game's level files and LGT.Log
// go here and vanish with it. The player's data folder, used when the
// program directory cannot be written, lies in a home of the test's own too,
// never in the real one of whoever runs the suite.
class ScratchDir
{
public:
    ScratchDir()
    {
        ProgramDir::setPath(m_dir.path());
        setDataHome(m_home.path());
    }
    ~ScratchDir()
    {
        ProgramDir::setPath(QString());
        qunsetenv("XDG_DATA_HOME");
    }
    ScratchDir(const ScratchDir &) = delete;
    ScratchDir &operator=(const ScratchDir &) = delete;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // Where the player's data folder is made: $XDG_DATA_HOME/<application>.
    static void setDataHome(const QString &directory) { qputenv("XDG_DATA_HOME", QFile::encodeName(directory)); }
    static QString dataFolder() { return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation); }

    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(filePath(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }

    QByteArray read(const QString &name) const
    {
        QFile file(filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    bool exists(const QString &name) const { return QFile::exists(filePath(name)); }

private:
    QTemporaryDir m_dir;
    QTemporaryDir m_home;
};
