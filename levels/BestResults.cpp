// SPDX-License-Identifier: GPL-3.0-or-later
#include "BestResults.h"

#include "LevelTable.h"
#include "ProgramDir.h"
#include "RegularFile.h"

#include <QFileInfo>
#include <QList>

#include <utility>

namespace {

// The first line names the file, so that a file of the same name put there
// by anything else is never taken for the player's results.
constexpr QByteArrayView Heading = "Veltrano best results 1";

// Twenty lines of a few figures each, and whatever a player's editing adds;
// anything much longer is no file of ours and is not read whole.
constexpr qint64 ReadLimit = 64 * 1024;

// How many earlier files set aside may lie beside Best.Log.
constexpr int AsideCopies = 9;

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

// A level's line as the game writes it: the level, the seconds left and the
// points, one space between them.
std::optional<std::pair<int, BestResults::Result>> levelLine(const QByteArray &line)
{
    const QList<QByteArray> figures = line.split(' ');
    if (figures.size() != 3)
        return std::nullopt;
    const std::optional<int> level = wholeNumber(figures.at(0));
    const std::optional<int> seconds = wholeNumber(figures.at(1));
    const std::optional<int> points = wholeNumber(figures.at(2));
    if (!level || !seconds || !points || *level < 1 || *level > LevelTable::BuiltInLevels || *points < 0)
        return std::nullopt;
    return std::pair{*level, BestResults::Result{*seconds, *points}};
}

// Best.Log as the game found it.
struct Stored
{
    BestResults::Reading reading;
    // The whole file when some of it could not be read, to be set aside
    // before the file is replaced.
    QByteArray unread;
    // A file of the player's that could not be read, or not in full, and so
    // cannot be set aside: it is never replaced.
    bool untouchable = false;
};

Stored load()
{
    Stored stored;
    const QString path = BestResults::path();
    const std::unique_ptr<QFile> file = RegularFile::openForReading(path);
    if (!file) {
        // A pipe, a device or a link in its place holds no bests, and saving
        // replaces only the name; a file the player may not read is theirs.
        const QFileInfo entry(path);
        stored.untouchable = !entry.isSymLink() && entry.isFile();
        return stored;
    }
    const QByteArray text = file->read(ReadLimit + 1);
    if (text.size() > ReadLimit || file->error() != QFileDevice::NoError) {
        stored.reading.whole = false;
        stored.untouchable = true;
        return stored;
    }
    stored.reading = BestResults::parse(text);
    if (!stored.reading.whole)
        stored.unread = text;
    return stored;
}

QByteArray contentOf(const QString &path)
{
    const std::unique_ptr<QFile> file = RegularFile::openForReading(path);
    return file ? file->read(ReadLimit + 1) : QByteArray();
}

// Before a file with lines the game could not read is replaced, it goes
// beside it whole, under a name of its own, so that nothing a player wrote
// or kept there is lost.
bool setAside(const Stored &stored)
{
    if (stored.untouchable)
        return false;
    if (stored.unread.isEmpty())
        return true;
    for (int copy = 1; copy <= AsideCopies; ++copy) {
        const QString aside = BestResults::path() + QStringLiteral(".old")
                              + (copy == 1 ? QString() : QStringLiteral(".%1").arg(copy));
        if (RegularFile::occupied(aside)) {
            // The same file set aside by an earlier finish needs no second copy.
            if (contentOf(aside) == stored.unread)
                return true;
            continue;
        }
        if (RegularFile::replace(aside, stored.unread))
            return true;
    }
    return false;
}

} // namespace

QString BestResults::path()
{
    return ProgramDir::filePath(QStringLiteral("Best.Log"));
}

BestResults::Table BestResults::read()
{
    return load().reading.table;
}

std::optional<BestResults::Result> BestResults::of(int level)
{
    const Table table = read();
    const auto found = table.find(level);
    if (found == table.end())
        return std::nullopt;
    return found->second;
}

BestResults::Outcome BestResults::record(int level, const Result &result)
{
    if (level < 1 || level > LevelTable::BuiltInLevels)
        return Outcome::NoBest;
    const Stored stored = load();
    Table table = stored.reading.table;
    const auto found = table.find(level);
    if (found != table.end() && found->second.secondsLeft >= result.secondsLeft)
        return Outcome::NoBest;
    table[level] = result;
    if (!setAside(stored)
        || !RegularFile::replace(path(), content(table), RegularFile::InPlace::WhenFolderRefuses))
        return Outcome::NotKept;
    return Outcome::Kept;
}

QByteArray BestResults::content(const Table &table)
{
    QByteArray text = Heading.toByteArray() + "\r\n";
    for (const auto &[level, result] : table)
        text += QByteArray::number(level) + ' ' + QByteArray::number(result.secondsLeft) + ' '
              + QByteArray::number(result.points) + "\r\n";
    return text;
}

BestResults::Reading BestResults::parse(QByteArrayView text)
{
    Reading reading;
    if (text.isEmpty())
        return reading;
    QList<QByteArray> lines = text.toByteArray().split('\n');
    // A text editor may turn CR LF into LF, and may leave an empty line.
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    if (lines.takeFirst() != Heading) {
        reading.whole = false;
        return reading;
    }
    for (const QByteArray &line : std::as_const(lines)) {
        if (line.trimmed().isEmpty())
            continue;
        const auto found = levelLine(line);
        // A second line for a level is no best of the game's either.
        if (!found || !reading.table.emplace(*found).second)
            reading.whole = false;
    }
    return reading;
}
