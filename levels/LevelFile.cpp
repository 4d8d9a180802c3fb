#include "LevelFile.h"

#include <QFile>
#include <QSaveFile>

std::optional<QStringList> LevelFile::read(const QString &path, int maxLines)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;

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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (const QString &item : items) {
        const QByteArray bytes = item.toLatin1() + "\r\n";
        if (file.write(bytes) != bytes.size())
            return false;
    }
    // Writes are buffered, so a full disk shows only when the buffer goes
    // out; committing after that would put the cut-off file in place of the
    // old one.
    if (!file.flush())
        return false;
    return file.commit();
}
