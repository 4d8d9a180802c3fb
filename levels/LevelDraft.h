// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LevelTable.h"

#include <QPoint>
#include <QString>
#include <QStringList>

#include <optional>

// The level the editor's boxes hold, as values: the map rows, the start
// cell's two boxes, the colour, the time and the name. It turns them into
// the lines of the level file and back, and says in one place what would
// make the game refuse the level, for Save, the test play, the check and
// the load-level screen alike.
struct LevelDraft
{
    // The map box's text, its rows apart by line breaks.
    QString map;
    QString top = QStringLiteral("1");
    QString left = QStringLiteral("1");
    quint32 color = LevelTable::ButtonFaceGrey;
    QString time = QStringLiteral("30");
    QString name = QStringLiteral("Level");

    // A start box read as a cell from 1 to 16; nothing for anything else.
    static std::optional<int> startCell(const QString &box);
    // The start cell (column, row) from 0; nothing while a box holds no cell.
    std::optional<QPoint> start() const;

    // The map's lines as the file holds them: every line of the map box, an
    // empty last one after a closing line break included.
    QStringList rows() const { return map.split(u'\n'); }
    // The level as the lines of its file; nothing while the start boxes hold
    // no cell.
    std::optional<QStringList> lines() const;

    // Fills what the lines of a level file give: the start from twips, the
    // colour, the time and the map. A line that gives nothing for its box
    // leaves that box as it was; the name stays, since a file holds none.
    void load(const QStringList &lines);

    // What keeps the level from being saved and played, with the message and
    // title that tell the designer, and the sentence a verdict gives it.
    struct Problem
    {
        enum class Kind {
            Start, // a start box holds no cell of the map
            Text,  // a level file cannot hold some character
            File,  // the game would refuse the file
        };
        Kind kind;
        QString text;
        QString title;
        QString sentence;
    };
    std::optional<Problem> problem() const;
    // The same for the lines of a level file, as the load-level screen has
    // them: only what the file itself can be refused for.
    static std::optional<Problem> fileProblem(const QStringList &lines);

    // The name becomes a file in the game's folder: a separator, "." or
    // "..", a character that Windows refuses in file names, or a name the
    // file system's encoding cannot hold would put the level somewhere else
    // or nowhere.
    bool hasPlainName() const;
    QString fileName() const { return name + QStringLiteral(".lvl"); }
    // Where Save writes the level; empty when the name cannot be a file name
    // or the game has no folder to write in.
    QString savePath() const;

    static const QString StartError;
    static const QString SaveError;
};
