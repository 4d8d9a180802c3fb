// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelFolder.h"

#include "RegularFile.h"

#include <QFile>

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

namespace {

bool hasLevelExtension(const QByteArray &name)
{
    // A level copied from another machine may come as LEVEL.LVL.
    return name.size() >= 4 && name.right(4).toLower() == ".lvl";
}

} // namespace

QList<LevelFolder::Entry> LevelFolder::entries(const QString &directory)
{
    QList<Entry> found;
    QByteArray folder = QFile::encodeName(directory);
    if (!folder.endsWith('/'))
        folder += '/';
    RegularFile::removeStaleTemporaries(folder);
    // The folder is read by its raw names: Qt's own listing turns a name that
    // is no valid text into one that opens nothing.
    DIR *listing = ::opendir(folder.constData());
    if (!listing)
        return found;
    while (const dirent *item = ::readdir(listing)) {
        const QByteArray name(item->d_name);
        if (!hasLevelExtension(name))
            continue;
        const QByteArray path = folder + name;
        struct stat info;
        if (::stat(path.constData(), &info) == 0 && S_ISREG(info.st_mode))
            found.append(Entry{QFile::decodeName(name), path});
    }
    ::closedir(listing);
    std::sort(found.begin(), found.end(), [](const Entry &a, const Entry &b) {
        const int order = a.name.compare(b.name, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a.path < b.path;
    });
    return found;
}
