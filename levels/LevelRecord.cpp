#include "LevelRecord.h"

#include <cmath>

namespace {

QString lineAt(const QStringList &lines, qsizetype index)
{
    return index < lines.size() ? lines.at(index) : QString();
}

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
    level.locationX = lineAt(lines, 0);
    level.locationY = lineAt(lines, 1);
    const auto color = wholeNumber(lineAt(lines, 2));
    level.color = quint32(color.value_or(0) & 0xFFFFFF);
    level.time = lineAt(lines, 3);
    for (int i = 0; i < FileRows; ++i)
        level.rows.append(lineAt(lines, 4 + i));
    return level;
}

QString LevelRecord::playProblem(const QStringList &lines)
{
    const auto startX = wholeNumber(lineAt(lines, 0));
    const auto startY = wholeNumber(lineAt(lines, 1));
    if (!startX || !startY || *startX < -32768 || *startX > 32767 || *startY < -32768 || *startY > 32767)
        return QStringLiteral("The start position of this level is not a number.");
    const auto color = wholeNumber(lineAt(lines, 2));
    if (!color || *color < 0 || *color > 0xFFFFFF)
        return QStringLiteral("The colour of this level is not a colour value.");
    bool timeOk = false;
    const double time = lineAt(lines, 3).trimmed().toDouble(&timeOk);
    if (!timeOk || !std::isfinite(time))
        return QStringLiteral("The time limit of this level is not a number.");
    if (!fromFileLines(lines).hasCodes())
        return QStringLiteral("This level has no map to play.");
    return {};
}
