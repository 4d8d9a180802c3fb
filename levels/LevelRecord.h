#pragma once

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

    // The custom slot as a level file fills it: lines 1 to 4 as start X, start
    // Y, colour and time, then lines 5 to 21 as seventeen rows (missing lines
    // read as empty). The name stays "Custom".
    static LevelRecord fromFileLines(const QStringList &lines);

    // Why a level file cannot be played, or an empty string when it can. The
    // play screen reads the start and the time as numbers at every build and
    // every tick, so a file that holds no number there, a colour that is not a
    // whole 24-bit value, or a map without a single code is refused up front.
    static QString playProblem(const QStringList &lines);

    static constexpr int FileLinesRead = 21;
    static constexpr int FileRows = FileLinesRead - 4;
};
