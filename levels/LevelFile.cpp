// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelFile.h"

#include "RegularFile.h"

#include <QFile>

#include <algorithm>

std::optional<QStringList> LevelFile::read(const QString &path, int maxLines)
{
    return read(QFile::encodeName(path), maxLines);
}

std::optional<QStringList> LevelFile::read(const QByteArray &nativePath, int maxLines)
{
    const std::unique_ptr<QFile> opened = RegularFile::openForReading(nativePath);
    if (!opened)
        return std::nullopt;
    QFile &file = *opened;

    QStringList lines;
    QByteArray line;
    bool pendingCr = false;
    qint64 consumed = 0;
    char buffer[4096];
    while (lines.size() < maxLines && consumed < MaxBytes) {
        const qint64 got = file.read(buffer, qMin<qint64>(sizeof buffer, MaxBytes - consumed));
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        consumed += got;
        for (qint64 i = 0; i < got && lines.size() < maxLines; ++i) {
            const char c = buffer[i];
            if (pendingCr) {
                pendingCr = false;
                // The LF of a CR LF pair belongs to the line the CR ended.
                if (c == '\n')
                    continue;
            }
            if (c == '\r') {
                lines.append(QString::fromLatin1(line));
                line.clear();
                pendingCr = true;
            } else {
                line.append(c);
            }
        }
    }
    if (!line.isEmpty() && lines.size() < maxLines)
        lines.append(QString::fromLatin1(line));
    return lines;
}

bool LevelFile::write(const QString &path, const QStringList &items)
{
    if (!canHold(items))
        return false;
    QByteArray bytes;
    for (const QString &item : items)
        bytes += item.toLatin1() + "\r\n";
    return RegularFile::replace(path, bytes);
}

bool LevelFile::canHold(const QStringList &items)
{
    return std::all_of(items.cbegin(), items.cend(), [](const QString &item) {
        return std::all_of(item.cbegin(), item.cend(), [](QChar c) { return c.unicode() <= 0xFF; });
    });
}
