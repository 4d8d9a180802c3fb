// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgramDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString &overridden()
{
    static QString directory;
    return directory;
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

QString ProgramDir::dataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}
