#include "LevelRecord.h"

#include <cmath>
#include <limits>

namespace {

std::optional<qint64> wholeNumber(const QString &text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

} // namespace

bool LevelRecord::hasCodes() const
{
    for (const QString &row : rows) {
        if (!row.isEmpty())
            return true;
    }
    return false;
}

LevelRecord LevelRecord::fromFileLines(const QStringList &lines)
{
    LevelRecord level;
    level.name = QStringLiteral("Custom");
    level.locationX = line(lines, 0);
    level.locationY = line(lines, 1);
    const auto color = wholeNumber(line(lines, 2));
    level.color = quint32(color.value_or(0) & 0xFFFFFF);
    level.time = line(lines, 3);
    for (int i = 0; i < FileRows; ++i)
        level.rows.append(line(lines, 4 + i));
    return level;
}

LevelRecord::FileFault LevelRecord::fileFault(const QStringList &lines)
{
    const auto inShort = [](std::optional<qint64> value) {
        return value && *value >= std::numeric_limits<qint16>::min() && *value <= std::numeric_limits<qint16>::max();
    };
    if (!inShort(wholeNumber(line(lines, 0))))
        return FileFault::StartX;
    if (!inShort(wholeNumber(line(lines, 1))))
        return FileFault::StartY;
    const auto color = wholeNumber(line(lines, 2));
    if (!color || *color < 0 || *color > 0xFFFFFF)
        return FileFault::Color;
    bool timeOk = false;
    const double time = line(lines, 3).trimmed().toDouble(&timeOk);
    if (!timeOk || !std::isfinite(time))
        return FileFault::Time;
    if (!fromFileLines(lines).hasCodes())
        return FileFault::NoMap;
    return FileFault::None;
}

QString LevelRecord::playProblem(const QStringList &lines)
{
    switch (fileFault(lines)) {
    case FileFault::None:
        return {};
    case FileFault::StartX:
    case FileFault::StartY:
        return QStringLiteral("The start position of this level is not a number.");
    case FileFault::Color:
        return QStringLiteral("The colour of this level is not a colour value.");
    case FileFault::Time:
        return QStringLiteral("The time limit of this level is not a number.");
    case FileFault::NoMap:
        return QStringLiteral("This level has no map to play.");
    }
    Q_UNREACHABLE();
}
