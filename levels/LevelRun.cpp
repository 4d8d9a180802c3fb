// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelRun.h"

#include "ProgramDir.h"
#include "RegularFile.h"

#include <QStringList>

#include <tuple>

namespace {

const QString FirstLine = QStringLiteral("Veltrano run 1");
const QString LevelLine = QStringLiteral("level ");
const QString KeysLine = QStringLiteral("keys ");
constexpr QChar OtherKey = u'*';
// Start, start, colour and time come before the map rows.
constexpr int HeaderLines = 4;

// The count after a line's word, or nothing.
std::optional<int> countAfter(const QString &line, const QString &word, int most)
{
    if (!line.startsWith(word))
        return std::nullopt;
    bool ok = false;
    const int count = line.mid(word.size()).toInt(&ok);
    if (!ok || count < 0 || count > most || QString::number(count) != line.mid(word.size()))
        return std::nullopt;
    return count;
}

std::optional<LevelRun::Key> keyOf(const QString &line)
{
    const qsizetype space = line.indexOf(u' ');
    if (space <= 0 || space != line.size() - 2)
        return std::nullopt;
    bool ok = false;
    const qint64 at = line.left(space).toLongLong(&ok);
    if (!ok || at < 0 || QString::number(at) != line.left(space))
        return std::nullopt;
    const QChar letter = line.back();
    if (letter == OtherKey)
        return LevelRun::Key{at, std::nullopt};
    const auto arrow = Arrow::ofLetter(letter);
    if (!arrow)
        return std::nullopt;
    return LevelRun::Key{at, arrow};
}

} // namespace

LevelRun::LevelRun(const LevelRecord &level)
    : m_level(level)
{
}

QStringList LevelRun::linesOf(const LevelRecord &level)
{
    QStringList lines{level.locationX, level.locationY, level.color ? QString::number(*level.color) : QString(),
                      level.time};
    lines += level.rows;
    return lines;
}

bool LevelRun::isOf(const LevelRecord &level) const
{
    const auto played = [](const LevelRecord &record) {
        QStringList rows = record.rows;
        while (!rows.isEmpty() && rows.last().isEmpty())
            rows.removeLast();
        return std::tuple(record.startTwips(), record.time, rows);
    };
    return played(level) == played(m_level);
}

QByteArray LevelRun::content() const
{
    const QStringList level = linesOf(m_level);
    QStringList lines{FirstLine, LevelLine + QString::number(level.size())};
    lines += level;
    lines.append(KeysLine + QString::number(m_keys.size()));
    for (const Key &key : m_keys)
        lines.append(QString::number(key.at) + u' ' + (key.arrow ? QChar(Arrow::letter(*key.arrow)) : OtherKey));
    return (lines.join(u'\n') + u'\n').toUtf8();
}

std::optional<LevelRun> LevelRun::parse(QByteArrayView text)
{
    if (text.size() > MaxBytes || !text.endsWith('\n'))
        return std::nullopt;
    const QStringList lines = QString::fromUtf8(text.chopped(1)).split(u'\n');
    if (lines.isEmpty() || lines.first() != FirstLine)
        return std::nullopt;
    const auto levelLines = countAfter(lines.value(1), LevelLine, HeaderLines + 1000);
    if (!levelLines || *levelLines < HeaderLines || lines.size() < 3 + *levelLines)
        return std::nullopt;
    const QStringList level = lines.mid(2, *levelLines);
    const auto keyCount = countAfter(lines.at(2 + *levelLines), KeysLine, MaxKeys);
    if (!keyCount || lines.size() != 3 + *levelLines + *keyCount)
        return std::nullopt;

    LevelRecord record;
    record.name = QString::fromUtf16(LevelRecord::CustomName);
    record.locationX = level.at(0);
    record.locationY = level.at(1);
    if (!level.at(2).isEmpty()) {
        bool ok = false;
        const uint color = level.at(2).toUInt(&ok);
        if (!ok || color > 0xFFFFFF)
            return std::nullopt;
        record.color = color;
    }
    record.time = level.at(3);
    record.rows = level.mid(HeaderLines);

    LevelRun run(record);
    qint64 last = 0;
    for (const QString &line : lines.mid(3 + *levelLines)) {
        const auto key = keyOf(line);
        if (!key || key->at < last)
            return std::nullopt;
        last = key->at;
        run.add(*key);
    }
    return run;
}

QString LevelRun::path(int level)
{
    return ProgramDir::filePath(QStringLiteral("BestRun%1.Log").arg(level, 2, 10, QLatin1Char('0')));
}

std::optional<LevelRun> LevelRun::read(const QString &path)
{
    const std::unique_ptr<QFile> file = RegularFile::openForReading(path);
    if (!file)
        return std::nullopt;
    const QByteArray text = file->read(MaxBytes + 1);
    if (file->error() != QFileDevice::NoError)
        return std::nullopt;
    return parse(text);
}

bool LevelRun::write(const QString &path) const
{
    return RegularFile::replace(path, content(), RegularFile::InPlace::WhenFolderRefuses);
}
