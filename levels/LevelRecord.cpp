// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelRecord.h"

#include <cmath>
#include <limits>

namespace {

// The whole number the play screen keeps of a number line.
std::optional<double> wholeNumber(const QString &text)
{
    const auto value = LevelRecord::number(text);
    return value ? std::optional(std::nearbyint(*value)) : std::nullopt;
}

// A start line as the play screen reads it: the whole number of twips, or
// the text as it stands when it is no number.
QString startText(const QString &line)
{
    const auto value = wholeNumber(line);
    return value && std::abs(*value) < 1e15 ? QString::number(qint64(*value)) : line;
}

} // namespace

std::optional<double> LevelRecord::number(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool LevelRecord::hasCodes() const
{
    for (const QString &row : rows) {
        if (!row.isEmpty())
            return true;
    }
    return false;
}

QPoint LevelRecord::startTwips() const
{
    return QPoint(locationX.trimmed().toInt(), locationY.trimmed().toInt());
}

QStringList LevelRecord::headerLines(int startX, int startY, quint32 color, const QString &time)
{
    return {QString::number(startX), QString::number(startY), QString::number(color), time};
}

LevelRecord::Header LevelRecord::header(const QStringList &lines)
{
    Header header;
    header.startX = number(line(lines, 0));
    header.startY = number(line(lines, 1));
    const auto color = wholeNumber(line(lines, 2));
    if (color && *color >= 0 && *color <= 0xFFFFFF)
        header.color = quint32(*color);
    header.time = line(lines, 3);
    return header;
}

LevelRecord LevelRecord::fromFileLines(const QStringList &lines)
{
    const Header fileHeader = header(lines);
    LevelRecord level;
    level.name = QString::fromUtf16(CustomName);
    level.locationX = startText(line(lines, 0));
    level.locationY = startText(line(lines, 1));
    level.color = fileHeader.color.value_or(0);
    level.time = fileHeader.time;
    for (int i = 0; i < FileRows; ++i)
        level.rows.append(line(lines, HeaderLines + i));
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
    if (!number(line(lines, 3)))
        return FileFault::Time;
    if (!fromFileLines(lines).hasCodes())
        return FileFault::NoMap;
    return FileFault::None;
}

QString LevelRecord::faultText(FileFault fault)
{
    switch (fault) {
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
