// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LevelFile.h"

#include <QPoint>
#include <QString>
#include <QStringList>

#include <optional>

// One level as the play screen builds it: what a slot of the level table and
// a level file both hold. Numbers stay text until a build reads them, as the
// play screen's labels do.
struct LevelRecord
{
    QString name;
    QString time;
    // 0x00BBGGRR; empty means the desktop's button-face colour (level 8).
    std::optional<quint32> color;
    QString locationX;
    QString locationY;
    QStringList rows;

    // How many map rows hold at least one code. A level needs one to be built.
    bool hasCodes() const;

    // The figure's start in twips as the play screen reads it when it builds
    // the level: whole numbers, 0 for text that is none.
    QPoint startTwips() const;

    // The four lines before the map in a level file: the start's left and
    // top edges in twips, the colour value and the time limit. This is the
    // one place that writes them and reads them back.
    static QStringList headerLines(int startX, int startY, quint32 color, const QString &time);
    struct Header
    {
        // Each as a number; nothing where the line holds none, or for the
        // colour no colour value.
        std::optional<double> startX;
        std::optional<double> startY;
        std::optional<quint32> color;
        QString time;
    };
    static Header header(const QStringList &lines);

    // The custom slot as a level file fills it: lines 1 to 4 as start X,
    // start Y (as whole numbers when they are numbers), colour and time, then
    // lines 5 to 21 as seventeen rows (missing lines read as empty). The name
    // stays "Custom".
    static LevelRecord fromFileLines(const QStringList &lines);

    // What keeps a level file from being played. The play screen keeps the
    // start as 16-bit twips and the colour as a 24-bit value, reads the time
    // as a number at every tick, and cannot build a map without a single code,
    // so such a file is refused before anything of it is built. The start and
    // the colour are numbers in any form ("480.0" is 480) converted to whole
    // ones; a ...Range fault is a number that does not fit. Each fault but
    // the last names one line of the file; the map is lines 5 to 21.
    enum class FileFault { None, StartX, StartXRange, StartY, StartYRange, Color, ColorRange, Time, NoMap };
    static FileFault fileFault(const QStringList &lines);

    // The fault as the load-level screen tells the player, or an empty string
    // when the file can be played.
    static QString playProblem(const QStringList &lines) { return faultText(fileFault(lines)); }
    static QString faultText(FileFault fault);

    // The text of a line of a level file, 0-based; empty past the end.
    static QString line(const QStringList &lines, qsizetype index)
    {
        return index < lines.size() ? lines.at(index) : QString();
    }

    // The name every level from a file has in the custom slot.
    static constexpr char16_t CustomName[] = u"Custom";

    static constexpr int FileLinesRead = LevelFile::LinesRead;
    // Start X, start Y, colour and time come before the map.
    static constexpr int HeaderLines = 4;
    static constexpr int FileRows = FileLinesRead - HeaderLines;
    // The line of the file, counted from 1 as designers count them, that
    // holds a map row counted from 0.
    static constexpr qsizetype fileLineOfRow(qsizetype row) { return row + HeaderLines + 1; }

    // A number line read as the game reads it, so that "480.0" and " 480"
    // are 480; nothing for text that is no finite number.
    static std::optional<double> number(const QString &text);
};
