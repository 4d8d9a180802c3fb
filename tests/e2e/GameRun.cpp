// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameRun.h"

#include "VirtualDisplay.h"

#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace {

constexpr int StartTimeoutMs = 10000;
constexpr int KillTimeoutMs = 5000;

// The account a read-only run uses when the tests run as root, who may write
// anywhere: an ordinary user cannot write into a root-owned directory.
constexpr const char *UnprivilegedId = "65534";

} // namespace

GameRun::GameRun(const QString &executable, const VirtualDisplay &display, Directory directory, Home home)
    : m_executable(executable)
    , m_access(directory)
    , m_homeAccess(home)
{
    QProcessEnvironment environment = display.environment();
    // The data folder follows HOME alone, as on a player's desktop.
    environment.insert(QStringLiteral("HOME"), m_home.path());
    environment.remove(QStringLiteral("XDG_DATA_HOME"));
    m_process.setProcessEnvironment(environment);
    m_process.setWorkingDirectory(m_dir.path());
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.setStandardOutputFile(m_logDir.filePath(QStringLiteral("game.log")));
}

GameRun::~GameRun()
{
    if (isRunning()) {
        m_process.kill();
        m_process.waitForFinished(KillTimeoutMs);
    }
    // Give the directories back their write permission so they can be removed.
    for (const QString &directory : {m_dir.path(), m_home.path()})
        QFile::setPermissions(directory, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

bool GameRun::start()
{
    if (!m_dir.isValid() || !m_home.isValid()) {
        m_error = QStringLiteral("no program directory or home: ") + m_dir.errorString() + m_home.errorString();
        return false;
    }
    const QString installed = m_dir.filePath(QFileInfo(m_executable).fileName());
    if (!QFileInfo::exists(installed) && !prepare(installed))
        return false;

    QString program = installed;
    QStringList arguments;
    if (m_access == Directory::ReadOnly) {
        if (geteuid() == 0) {
            program = QStringLiteral("setpriv");
            arguments = {QStringLiteral("--reuid"), QString::fromLatin1(UnprivilegedId), QStringLiteral("--regid"),
                         QString::fromLatin1(UnprivilegedId), QStringLiteral("--clear-groups"), installed};
        }
    }

    m_process.start(program, arguments);
    if (!m_process.waitForStarted(StartTimeoutMs)) {
        m_error = QStringLiteral("the game did not start: ") + m_process.errorString();
        return false;
    }
    return true;
}

bool GameRun::prepare(const QString &installed)
{
    if (!QFile::copy(m_executable, installed)) {
        m_error = QStringLiteral("cannot copy ") + m_executable + QStringLiteral(" to ") + m_dir.path();
        return false;
    }
    if (m_access == Directory::Writable)
        return true;

    // Readable and enterable by everyone, writable by nobody but root.
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                                        | QFile::ReadOther | QFile::ExeOther;
    if (!QFile::setPermissions(m_dir.path(), readOnly)) {
        m_error = QStringLiteral("cannot make the program directory read-only");
        return false;
    }
    // The home belongs to the player the game runs as, unless it is to be
    // one they cannot write.
    if (m_homeAccess == Home::ReadOnly) {
        if (!QFile::setPermissions(m_home.path(), readOnly)) {
            m_error = QStringLiteral("cannot make the home read-only");
            return false;
        }
    } else if (geteuid() == 0) {
        const uid_t unprivileged = uid_t(QByteArray(UnprivilegedId).toUInt());
        if (chown(QFile::encodeName(m_home.path()).constData(), unprivileged, gid_t(unprivileged)) != 0) {
            m_error = QStringLiteral("cannot give the home to the unprivileged player");
            return false;
        }
    }
    return true;
}

QString GameRun::dataFolder() const
{
    return m_home.filePath(QStringLiteral(".local/share/Veltrano"));
}

bool GameRun::hasDataFile(const QString &name) const
{
    return QFileInfo::exists(dataFolder() + u'/' + name);
}

QByteArray GameRun::dataFile(const QString &name) const
{
    QFile file(dataFolder() + u'/' + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool GameRun::hasFile(const QString &name) const
{
    return QFileInfo::exists(m_dir.filePath(name));
}

QByteArray GameRun::file(const QString &name) const
{
    QFile file(m_dir.filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool GameRun::writeFile(const QString &name, const QByteArray &bytes) const
{
    QFile file(m_dir.filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool GameRun::waitForExit(int timeoutMs)
{
    return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(timeoutMs);
}

QByteArray GameRun::output() const
{
    QFile log(m_logDir.filePath(QStringLiteral("game.log")));
    return log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
}
