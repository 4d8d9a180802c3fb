#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class VirtualDisplay;

// One run of the built game as a player has it: the executable copied into a
// fresh directory of its own, where it keeps its level files and LGT.Log, and
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

    GameRun(const QString &executable, const VirtualDisplay &display, Directory directory = Directory::Writable);
    ~GameRun();
    GameRun(const GameRun &) = delete;
    GameRun &operator=(const GameRun &) = delete;

    bool start();
    QString errorString() const { return m_error; }

    QString directory() const { return m_dir.path(); }
    bool hasFile(const QString &name) const;
    QByteArray file(const QString &name) const;
    // Puts a file into the program directory before the game starts.
    bool writeFile(const QString &name, const QByteArray &bytes) const;

    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    bool waitForExit(int timeoutMs);
    bool exitedNormally() const { return m_process.exitStatus() == QProcess::NormalExit; }
    int exitCode() const { return m_process.exitCode(); }
    // What the game printed, for a failing test's report.
    QByteArray output() const;

private:
    const QString m_executable;
    const Directory m_access;
    QTemporaryDir m_dir;
    // Outside the program directory, which may be read-only; a file and not
    // a pipe, so a talkative game never blocks while nobody reads.
    QTemporaryDir m_logDir;
    QProcess m_process;
    QString m_error;
};
