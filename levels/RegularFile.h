// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>

// The only way the game opens and writes its own files (level files and
// LGT.Log). It reads nothing but regular files, so a pipe or a device in the
// folder can neither block the game nor feed it, and it writes by replacing
// the name inside the folder, so a link there is replaced itself and its
// target, wherever it is, is never touched.
class RegularFile
{
public:
    // The file opened for reading, or nothing when the name is missing or
    // names anything but a regular file (a pipe, a device, a directory, a
    // dangling link); a link to a regular file is followed. What the name
    // stands for is checked on the opened file, so a swap just before the
    // open cannot slip through, and the open itself never waits on a pipe.
    // The path is in the file system's own bytes, so that names that are no
    // valid text open too.
    static std::unique_ptr<QFile> openForReading(const QByteArray &nativePath);
    static std::unique_ptr<QFile> openForReading(const QString &path)
    {
        return openForReading(QFile::encodeName(path));
    }

    // Something other than a directory has the name: a file, a pipe, or a
    // link, dangling or not. Saving there replaces it.
    static bool occupied(const QString &path);

    // Whether a full save may write into the file itself when its folder
    // refuses the temporary file that makes a save all-or-nothing.
    enum class InPlace { Never, WhenFolderRefuses };

    // Writes the bytes to a new file beside the name and then puts it in the
    // name's place in one step, so a failed write leaves the old file as it
    // was. A file being replaced keeps its permissions; a new one gets those
    // any new file of the player's gets. With WhenFolderRefuses, a regular
    // file (not a link) that can be written is written over in place when
    // the folder takes no new file. True when every byte reached the disk.
    // After a save, the folder's stale temporary files go, as below.
    static bool replace(const QString &path, const QByteArray &bytes, InPlace inPlace = InPlace::Never);

    // Removes what saves cut short (a crash, a kill, a power cut) left in
    // the folder: regular files, never links, named as the game names its
    // temporary files, untouched for ten minutes, so that a save still
    // running in another copy of the game keeps its own. The folder is in
    // the file system's own bytes.
    static void removeStaleTemporaries(const QByteArray &nativeFolder);
};
