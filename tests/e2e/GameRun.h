// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class VirtualDisplay;

// One run of the built game as a player has it: the executable copied into a
// fresh directory of its own, where it keeps its level files and LGT.Log (or,
// when it may not write there, in the data folder of a home of its own), and
// started there on the virtual display. The process is killed with the object
// if the test did not see it end.
class GameRun
{
public:
    enum class Directory {
        Writable,
        // The program directory cannot be written by the game, as when it is
        // installed system-wide and run by an ordinary user.
        ReadOnly,
    };

    enum class Home {
        Writable,
        // A home the player cannot write (or no home at all): the data folder
        // for a read-only program directory cannot be made.
        ReadOnly,
    };

    GameRun(const QString &executable, const VirtualDisplay &display, Directory directory = Directory::Writable,
            Home home = Home::Writable);
    ~GameRun();
    GameRun(const GameRun &) = delete;
    GameRun &operator=(const GameRun &) = delete;

    // Starts the game; once it has ended, it can be started again, in the
    // same directory and home, as a player starts it another day.
    bool start();
    QString errorString() const { return m_error; }

    QString directory() const { return m_dir.path(); }
    bool hasFile(const QString &name) const;
    QByteArray file(const QString &name) const;
    // Puts a file into the program directory before the game starts.
    bool writeFile(const QString &name, const QByteArray &bytes) const;
    // The player's data folder: ~/.local/share/Veltrano in the run's home.
    QString dataFolder() const;
    bool hasDataFile(const QString &name) const;
    QByteArray dataFile(const QString &name) const;

    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    bool waitForExit(int timeoutMs);
    bool exitedNormally() const { return m_process.exitStatus() == QProcess::NormalExit; }
    int exitCode() const { return m_process.exitCode(); }
    // What the game printed, for a failing test's report.
    QByteArray output() const;

private:
    // Puts the executable into the program directory, with the access the
    // run asks for to it and to the home.
    bool prepare(const QString &installed);

    const QString m_executable;
    const Directory m_access;
    const Home m_homeAccess;
    QTemporaryDir m_dir;
    // The player's home, given to the game as HOME.
    QTemporaryDir m_home;
    // Outside the program directory, which may be read-only; a file and not
    // a pipe, so a talkative game never blocks while nobody reads.
    QTemporaryDir m_logDir;
    QProcess m_process;
    QString m_error;
};
