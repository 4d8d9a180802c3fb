// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The one place that says where the game keeps its level files and LGT.Log.
// Beside the executable while the player may write there, so that a copy in
// a folder of its own (or the build tree) stays portable; otherwise, as for
// an installed game, in the player's data folder (~/.local/share/Veltrano,
// or $XDG_DATA_HOME/Veltrano), created on first use, and for a player with
// no home at all nowhere: nothing is kept. Tests point the executable's
// directory at a folder of their own.
class ProgramDir
{
public:
    // The folder the game writes into and reads its progress from. Empty when
    // the player has no home to keep a data folder in.
    static QString path();
    // A file in that folder; empty, so that nothing can be opened, when
    // there is no folder.
    static QString filePath(const QString &fileName);

    // The folders whose level files the load-level screen offers, the
    // player's own first: the folder above, then the executable's directory
    // when that is another one (levels an administrator put there for all).
    static QStringList levelFolders();

    // Stands in for the executable's directory; an empty path restores it.
    static void setPath(const QString &directory);

    // The directory and a file name joined by one separator; a directory that
    // already ends in a separator (a root) gets none added.
    static QString join(const QString &directory, const QString &fileName);

private:
    static QString executableDir();
    static bool executableDirIsWritable();
    static QString dataFolder();
};
