// SPDX-License-Identifier: GPL-3.0-or-later
#include "FuzzTarget.h"

#include "LevelFile.h"
#include "LevelRecord.h"
#include "TileCodes.h"

#include <QFile>
#include <QTemporaryDir>

// Any bytes at all as a level file beside the program: reading must hold to
// the file's line rules, the custom slot filled from it must be a level the
// play screen can take, and what is read must write back unchanged.

namespace {

QTemporaryDir *scratch = nullptr;

void checkRowCutting(const QString &row)
{
    QString joined;
    for (const QString &code : TileCodes::cutRow(row)) {
        const bool opensPair = code.at(0) == u'8' || code.at(0) == u'9';
        fuzz::expect(code.size() == 1 || (code.size() == 2 && opensPair), "a code is one character or a pair");
        fuzz::expect(code.size() == 2 || !opensPair || joined.size() + 1 == row.size(),
                     "only the last character of a row stands alone as 8 or 9");
        joined += code;
    }
    fuzz::expect(joined == row, "the codes of a row put together give the row");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    scratch = new QTemporaryDir;
    std::atexit([] { delete scratch; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString path = scratch->filePath(QStringLiteral("fuzz.lvl"));
    {
        QFile file(path);
        fuzz::expect(file.open(QIODevice::WriteOnly) && file.write(fuzz::bytes(data, size)) == qint64(size),
                     "the scratch file is written");
    }

    const std::optional<QStringList> lines = LevelFile::read(path);
    fuzz::expect(lines.has_value(), "a readable file reads");
    fuzz::expect(lines->size() <= LevelRecord::FileLinesRead, "at most 21 lines are read");
    qsizetype characters = 0;
    for (const QString &line : *lines) {
        fuzz::expect(!line.contains(u'\r'), "a CR always ends a line");
        characters += line.size();
    }
    fuzz::expect(characters <= qsizetype(size), "no line holds more than the file");

    const LevelRecord level = LevelRecord::fromFileLines(*lines);
    fuzz::expect(level.name == u"Custom", "a level file leaves the slot's name");
    fuzz::expect(level.rows.size() == LevelRecord::FileRows, "the custom slot gets 17 rows");
    fuzz::expect(level.color && *level.color <= 0xFFFFFF, "the colour is a 24-bit colour value");
    for (const QString &row : level.rows)
        checkRowCutting(row);

    const QString problem = LevelRecord::playProblem(*lines);
    if (problem.isEmpty()) {
        fuzz::expect(level.hasCodes(), "a playable file has a map");
        bool xOk = false;
        bool yOk = false;
        level.locationX.trimmed().toInt(&xOk);
        level.locationY.trimmed().toInt(&yOk);
        fuzz::expect(xOk && yOk, "a playable file starts the figure at a whole position");
    }

    // What was read writes back as the same lines.
    const QString copy = scratch->filePath(QStringLiteral("copy.lvl"));
    fuzz::expect(LevelFile::write(copy, *lines), "the lines write back");
    fuzz::expect(LevelFile::read(copy) == lines, "the written lines read back unchanged");
    return 0;
}
