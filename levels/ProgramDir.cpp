// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgramDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <pwd.h>
#include <unistd.h>

namespace {

QString &overridden()
{
    static QString directory;
    return directory;
}

bool isAbsolute(const QString &path)
{
    return path.startsWith(u'/');
}

// The player's home: $HOME, or, where that is unset (a service, a bare
// environment), the home the system's list of users gives the player.
// Nothing when neither names an absolute folder: a relative one would be
// taken from wherever the game was started.
QString home()
{
    const QString fromEnvironment = QFile::decodeName(qgetenv("HOME"));
    if (isAbsolute(fromEnvironment))
        return fromEnvironment;
    const passwd *user = ::getpwuid(::getuid());
    const QString listed = user && user->pw_dir ? QFile::decodeName(user->pw_dir) : QString();
    return isAbsolute(listed) ? listed : QString();
}

} // namespace

QString ProgramDir::path()
{
    if (executableDirIsWritable())
        return executableDir();
    const QString data = dataFolder();
    // A folder that cannot be created (a read-only home) is still the one
    // chosen: opening a file there fails, and the game reports it as it
    // reports any file it cannot write.
    if (!data.isEmpty())
        QDir().mkpath(data);
    return data;
}

QString ProgramDir::filePath(const QString &fileName)
{
    const QString directory = path();
    return directory.isEmpty() ? QString() : join(directory, fileName);
}

QStringList ProgramDir::levelFolders()
{
    if (executableDirIsWritable())
        return {executableDir()};
    QStringList folders;
    const QString data = dataFolder();
    if (!data.isEmpty() && QFileInfo(data).absoluteFilePath() != QFileInfo(executableDir()).absoluteFilePath())
        folders.append(data);
    folders.append(executableDir());
    return folders;
}

void ProgramDir::setPath(const QString &directory)
{
    overridden() = directory;
}

QString ProgramDir::join(const QString &directory, const QString &fileName)
{
    if (directory.endsWith(u'/') || directory.endsWith(u'\\'))
        return directory + fileName;
    return directory + u'/' + fileName;
}

QString ProgramDir::executableDir()
{
    if (!overridden().isEmpty())
        return overridden();
    return QCoreApplication::applicationDirPath();
}

// Asked of the file system every time rather than remembered, so that the
// answer is the one that holds for the write about to happen. The check is
// the system's own (access), which also knows read-only mounts and
// immutable folders that stop even root.
bool ProgramDir::executableDirIsWritable()
{
    const QFileInfo directory(executableDir());
    return directory.isDir() && directory.isWritable();
}

// Worked out here rather than asked of QStandardPaths, which puts the folder
// at the file system's root when HOME is unset and below the current folder
// when XDG_DATA_HOME is relative. As the base directory rules say, a
// relative or empty XDG_DATA_HOME is ignored.
QString ProgramDir::dataFolder()
{
    QString base = QFile::decodeName(qgetenv("XDG_DATA_HOME"));
    if (!isAbsolute(base)) {
        const QString player = home();
        if (player.isEmpty())
            return {};
        base = player + QStringLiteral("/.local/share");
    }
    QString folder = QDir::cleanPath(base);
    if (const QString organization = QCoreApplication::organizationName(); !organization.isEmpty())
        folder += u'/' + organization;
    return folder + u'/' + QCoreApplication::applicationName();
}
