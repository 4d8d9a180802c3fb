#include "ProgressFile.h"

#include "LevelTable.h"
#include "ProgramDir.h"

#include <QFile>
#include <QSaveFile>

#include <cmath>

namespace {

// The longest content the game writes is " 2500 " and CR LF; a little more is
// read so that stray whitespace still parses, but a huge file never is.
constexpr qint64 ReadLimit = 64;

} // namespace

QString ProgressFile::path()
{
    return ProgramDir::filePath(QStringLiteral("LGT.Log"));
}

double ProgressFile::readSlot()
{
    QFile file(path());
    if (!file.open(QIODevice::ReadWrite))
        return 0;
    if (file.size() > ReadLimit)
        return 0;
    const QByteArray text = file.read(ReadLimit).trimmed();
    if (text.isEmpty())
        return 0;
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value) || value <= 0)
        return 0;
    return std::min(value * 2 / 250, double(LevelTable::CustomSlot));
}

bool ProgressFile::record(int slot)
{
    if (readSlot() >= slot)
        return true;
    QSaveFile file(path());
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = content(slot);
    // A full disk shows only when the buffered line goes out; committing
    // after that would replace the stored progress with an empty file.
    if (file.write(bytes) != bytes.size() || !file.flush())
        return false;
    return file.commit();
}

QByteArray ProgressFile::content(int slot)
{
    return ' ' + QByteArray::number(slot * 125) + " \r\n";
}
