// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelRecord.h"

#include <cmath>
#include <limits>

namespace {

// A number line read as the rest of the file is read, so that "480.0" and
// " 480" are 480, and converted to the whole number the play screen keeps.
std::optional<double> wholeNumber(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return std::nearbyint(value);
}

// A start line as the play screen reads it: the whole number of twips, or
// the text as it stands when it is no number.
QString startText(const QString &line)
{
    const auto value = wholeNumber(line);
    return value && std::abs(*value) < 1e15 ? QString::number(qint64(*value)) : line;
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
    level.locationX = startText(line(lines, 0));
    level.locationY = startText(line(lines, 1));
    const auto color = wholeNumber(line(lines, 2));
    level.color = color && *color >= 0 && *color <= 0xFFFFFF ? quint32(*color) : 0;
    level.time = line(lines, 3);
    for (int i = 0; i < FileRows; ++i)
        level.rows.append(line(lines, 4 + i));
    return level;
}

LevelRecord::FileFault LevelRecord::fileFault(const QStringList &lines)
{
    const auto inShort = [](double value) {
        return value >= std::numeric_limits<qint16>::min() && value <= std::numeric_limits<qint16>::max();
    };
    const auto startX = wholeNumber(line(lines, 0));
    if (!startX)
        return FileFault::StartX;
    if (!inShort(*startX))
        return FileFault::StartXRange;
    const auto startY = wholeNumber(line(lines, 1));
    if (!startY)
        return FileFault::StartY;
    if (!inShort(*startY))
        return FileFault::StartYRange;
    const auto color = wholeNumber(line(lines, 2));
    if (!color)
        return FileFault::Color;
    if (*color < 0 || *color > 0xFFFFFF)
        return FileFault::ColorRange;
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
    case FileFault::StartXRange:
    case FileFault::StartYRange:
        return QStringLiteral("The start position of this level is out of range.");
    case FileFault::Color:
        return QStringLiteral("The colour of this level is not a colour value.");
    case FileFault::ColorRange:
        return QStringLiteral("The colour of this level is out of range.");
    case FileFault::Time:
        return QStringLiteral("The time limit of this level is not a number.");
    case FileFault::NoMap:
        return QStringLiteral("This level has no map to play.");
    }
    Q_UNREACHABLE();
}
