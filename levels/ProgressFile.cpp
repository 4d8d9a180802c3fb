// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgressFile.h"

#include "LevelTable.h"
#include "ProgramDir.h"
#include "RegularFile.h"

#include <QFile>

#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The longest content the game writes is " 2500 " and CR LF; a little more is
// read so that a byte-order mark and stray whitespace still parse, but a huge
// file is never read whole.
constexpr qint64 ReadLimit = 64;

} // namespace

QString ProgressFile::path()
{
    return ProgramDir::filePath(QStringLiteral("LGT.Log"));
}

double ProgressFile::readSlot()
{
    const std::unique_ptr<QFile> file = RegularFile::openForReading(path());
    if (!file) {
        createIfMissing();
        return 0;
    }
    const double value = leadingNumber(file->read(ReadLimit));
    if (!std::isfinite(value) || value <= 0)
        return 0;
    return std::min(value / PerSlot, double(LevelTable::CustomSlot));
}

double ProgressFile::leadingNumber(QByteArrayView text)
{
    // Some text editors put a byte-order mark before what they save.
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3);
    qsizetype at = 0;
    while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r')))
        ++at;
    const qsizetype start = at;
    const auto skip = [&text, &at](const char *characters) {
        const qsizetype first = at;
        while (at < text.size() && text[at] != '\0' && std::strchr(characters, text[at]))
            ++at;
        return at - first;
    };
    constexpr const char *Digits = "0123456789";
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        ++at;
    qsizetype mantissa = skip(Digits);
    if (at < text.size() && text[at] == '.') {
        ++at;
        mantissa += skip(Digits);
    }
    if (mantissa == 0)
        return 0;
    // An exponent counts only when digits follow it: "12e" is 12.
    const qsizetype beforeExponent = at;
    if (skip("eE") == 1) {
        if (at < text.size() && (text[at] == '+' || text[at] == '-'))
            ++at;
        if (skip(Digits) == 0)
            at = beforeExponent;
    } else {
        at = beforeExponent;
    }
    return text.sliced(start, at - start).toDouble();
}

void ProgressFile::createIfMissing()
{
    // Only a name nobody uses is taken: O_EXCL neither opens what is there
    // nor follows a link, so a progress file the game cannot read is left
    // as it is.
    const int fd = ::open(QFile::encodeName(path()).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0)
        ::close(fd);
}

bool ProgressFile::record(int slot)
{
    if (readSlot() >= slot)
        return true;
    return RegularFile::replace(path(), content(slot), RegularFile::InPlace::WhenFolderRefuses);
}

QByteArray ProgressFile::content(int slot)
{
    return ' ' + QByteArray::number(slot * PerSlot) + " \r\n";
}
