// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Level files as the editor writes them and the load-level screen reads them:
// Latin-1 text, one item per line, every line ended by CR LF.
class LevelFile
{
public:
    // The lines of a level file the game reads: four header lines, then the
    // map; anything after them is never looked at.
    static constexpr int LinesRead = 21;

    // The lines of the file without their terminators. CR LF and a lone CR
    // end a line, a lone LF does not, and a last line without terminator is
    // still read. Only the first maxLines lines are read, and reading stops
    // after MaxBytes, so a huge or binary file is never loaded whole.
    // Empty when the file cannot be opened or read, or is no regular file.
    static std::optional<QStringList> read(const QString &path, int maxLines = LinesRead);
    // The same for a path in the file system's own bytes.
    static std::optional<QStringList> read(const QByteArray &nativePath, int maxLines = LinesRead);

    // Writes each item followed by CR LF, replacing the file only once all of
    // it is on disk: a failed write leaves the old file as it was, and a link
    // under the name is replaced, never written through. Text that Latin-1
    // cannot hold is refused with nothing written, rather than saved as "?".
    static bool write(const QString &path, const QStringList &items);
    // Whether the items are text a level file can hold: Latin-1 only.
    static bool canHold(const QStringList &items);

    static constexpr qint64 MaxBytes = 1 << 20;
};
