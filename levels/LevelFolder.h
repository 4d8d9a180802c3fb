// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Which files of a folder the load-level screen offers as levels.
class LevelFolder
{
public:
    struct Entry
    {
        // The name as the list shows it; bytes that are no valid text in the
        // file system's encoding show as replacement characters.
        QString name;
        // The full path in the file system's own bytes, which opens the file
        // whatever its name holds.
        QByteArray path;
    };

    // Every regular file, or link to one, whose name ends in ".lvl" in any
    // letter case: hidden ones too, since a level saved under a name that
    // starts with "." must be there to load, and names that are no valid
    // text too. Sorted by the shown name without regard to letter case. An
    // unreadable folder lists nothing. Listing also clears the folder of the
    // temporary files of saves cut short.
    static QList<Entry> entries(const QString &directory);
};
