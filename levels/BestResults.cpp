// SPDX-License-Identifier: GPL-3.0-or-later
#include "BestResults.h"

#include "LevelTable.h"
#include "ProgramDir.h"
#include "RegularFile.h"

#include <QList>

namespace {

// The first line names the file, so that a file of the same name put there
// by anything else is never taken for the player's results.
constexpr QByteArrayView Heading = "Veltrano best results 1";

// Twenty lines of a few figures each; anything much longer is no file of ours
// and is not read whole.
constexpr qint64 ReadLimit = 4096;

std::optional<int> wholeNumber(QByteArrayView text)
{
    // Digits only, with a sign for the time of a level whose clock ran below
    // zero: no spaces, no "+", nothing after the number.
    const QByteArrayView digits = text.startsWith('-') ? text.sliced(1) : text;
    if (digits.isEmpty() || digits.size() > 9)
        return std::nullopt;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
    }
    return text.toInt();
}

} // namespace

QString BestResults::path()
{
    return ProgramDir::filePath(QStringLiteral("Best.Log"));
}

BestResults::Table BestResults::read()
{
    const std::unique_ptr<QFile> file = RegularFile::openForReading(path());
    if (!file)
        return {};
    const QByteArray text = file->read(ReadLimit + 1);
    if (text.size() > ReadLimit)
        return {};
    return parse(text).value_or(Table{});
}

std::optional<BestResults::Result> BestResults::of(int level)
{
    const Table table = read();
    const auto found = table.find(level);
    if (found == table.end())
        return std::nullopt;
    return found->second;
}

bool BestResults::record(int level, const Result &result)
{
    if (level < 1 || level > LevelTable::BuiltInLevels)
        return false;
    Table table = read();
    const auto found = table.find(level);
    if (found != table.end() && found->second.secondsLeft >= result.secondsLeft)
        return false;
    table[level] = result;
    RegularFile::replace(path(), content(table), RegularFile::InPlace::WhenFolderRefuses);
    return true;
}

QByteArray BestResults::content(const Table &table)
{
    QByteArray text = Heading.toByteArray() + "\r\n";
    for (const auto &[level, result] : table)
        text += QByteArray::number(level) + ' ' + QByteArray::number(result.secondsLeft) + ' '
              + QByteArray::number(result.points) + "\r\n";
    return text;
}

std::optional<BestResults::Table> BestResults::parse(QByteArrayView text)
{
    QList<QByteArray> lines = text.toByteArray().split('\n');
    // Every line ends in CR LF, the last one too, which leaves nothing after
    // the last line feed.
    if (lines.size() < 2 || !lines.takeLast().isEmpty())
        return std::nullopt;
    for (QByteArray &line : lines) {
        if (!line.endsWith('\r'))
            return std::nullopt;
        line.chop(1);
    }
    if (lines.takeFirst() != Heading)
        return std::nullopt;
    Table table;
    for (const QByteArray &line : std::as_const(lines)) {
        const QList<QByteArray> figures = line.split(' ');
        if (figures.size() != 3)
            return std::nullopt;
        const std::optional<int> level = wholeNumber(figures.at(0));
        const std::optional<int> seconds = wholeNumber(figures.at(1));
        const std::optional<int> points = wholeNumber(figures.at(2));
        if (!level || !seconds || !points || *level < 1 || *level > LevelTable::BuiltInLevels || *points < 0
            || table.count(*level) != 0)
            return std::nullopt;
        table[*level] = Result{*seconds, *points};
    }
    return table;
}
