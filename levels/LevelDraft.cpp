// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelDraft.h"

#include "LevelFile.h"
#include "LevelRecord.h"
#include "ProgramDir.h"
#include "Twips.h"

#include <QFile>

#include <cmath>

const QString LevelDraft::StartError = QStringLiteral("The start location must be a whole number from 1 to 16 !");
const QString LevelDraft::SaveError = QStringLiteral("There has been a error!");

std::optional<int> LevelDraft::startCell(const QString &box)
{
    const std::optional<double> value = LevelRecord::number(box);
    if (!value || *value != std::floor(*value) || *value < 1 || *value > Twips::MapCells)
        return std::nullopt;
    return int(*value);
}

std::optional<QPoint> LevelDraft::start() const
{
    const std::optional<int> column = startCell(left);
    const std::optional<int> row = startCell(top);
    if (!column || !row)
        return std::nullopt;
    return QPoint(*column - 1, *row - 1);
}

std::optional<QStringList> LevelDraft::lines() const
{
    const std::optional<QPoint> cell = start();
    if (!cell)
        return std::nullopt;
    return LevelRecord::headerLines(cell->x() * Twips::Cell, cell->y() * Twips::Cell, color, time) + rows();
}

void LevelDraft::load(const QStringList &lines)
{
    const LevelRecord::Header header = LevelRecord::header(lines);
    if (header.startX)
        left = QString::number(*header.startX / Twips::Cell + 1, 'g', 15);
    if (header.startY)
        top = QString::number(*header.startY / Twips::Cell + 1, 'g', 15);
    if (header.color)
        color = *header.color;
    time = header.time;
    QStringList mapLines;
    for (int i = 0; i < LevelRecord::FileRows; ++i)
        mapLines.append(LevelRecord::line(lines, LevelRecord::HeaderLines + i));
    map = mapLines.join(u'\n');
}

std::optional<LevelDraft::Problem> LevelDraft::problem() const
{
    const std::optional<QStringList> fileLines = lines();
    if (!fileLines)
        return Problem{Problem::Kind::Start, StartError, QStringLiteral("Veltrano"), StartError};
    return fileProblem(*fileLines);
}

std::optional<LevelDraft::Problem> LevelDraft::fileProblem(const QStringList &lines)
{
    // What the game would refuse is said first, in the words the load-level
    // screen gives it; a character the file cannot hold only after that.
    const QString refusal = LevelRecord::playProblem(lines);
    if (!refusal.isEmpty())
        return Problem{Problem::Kind::File, refusal, QStringLiteral("Error"),
                       QStringLiteral("This level cannot be won. ") + refusal};
    if (!LevelFile::canHold(lines))
        return Problem{Problem::Kind::Text, SaveError, QStringLiteral("Error"),
                       QStringLiteral("This level cannot be saved or played: a level file cannot hold some of the "
                                      "characters in its boxes.")};
    return std::nullopt;
}

bool LevelDraft::hasPlainName() const
{
    if (name.isEmpty() || name == u"." || name == u".." || QFile::decodeName(QFile::encodeName(name)) != name)
        return false;
    for (const QChar c : name) {
        if (c.unicode() < 32 || QStringView(u"\\/:*?\"<>|").contains(c))
            return false;
    }
    return true;
}

QString LevelDraft::savePath() const
{
    return hasPlainName() ? ProgramDir::filePath(fileName()) : QString();
}
