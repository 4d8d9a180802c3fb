// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QStringView>

// The vocabulary of a map: how a row of digits is cut into tile codes, which
// codes exist and which picture each code shows. What each code does is
// TileRule's.
class TileCodes
{
public:
    // A "8" or "9" opens a two-character code ("80".."88", "90"); every other
    // character is a code of its own. A lone "8" or "9" at the end of a row is
    // returned as it stands. Nothing checks the count of codes.
    static QStringList cutRow(const QString &row);

    // The eighteen codes that have a meaning: 0..7, 80..88 and 90.
    static const QList<int> &all();
    static bool isKnown(const QString &code);

    // The resource path of a code's picture; empty for floor and for text that
    // names no tile, which are drawn as the level colour.
    static QString picturePath(const QString &code);

    // The tile's name as the palette shows it ("Brick wall"); empty for a
    // code that names no tile.
    static QString name(int code);

    // What painting a code into one cell of a row changes, as a designer
    // paints it: a row too short gets floor up to the cell, and every other
    // code stays as it was. The characters [from, from + length) of the row
    // give way to text; the codes from firstCode on, replaced of them, give
    // way to codes. Only the row's codes up to the cell are read, so that a
    // long row costs no more than a short one.
    struct RowPaint
    {
        qsizetype from = 0;
        qsizetype length = 0;
        QString text;
        qsizetype firstCode = 0;
        qsizetype replaced = 0;
        QStringList codes;
        bool changes() const { return !text.isEmpty(); }
    };
    static RowPaint paint(QStringView row, int column, const QString &code);

    // The number the play screen acts on for a tile's tag. Text that names no
    // tile (a letter, "89", a lone "8") blocks the figure like a wall rather
    // than letting it walk over a cell it cannot see.
    static int number(const QString &code);

    enum Code {
        Floor = 0,
        Wall = 1,
        Banknote = 3,
        Exit = 4,
        LightBulb = 5,
        Diamond = 7,
        Clock = 84,
    };
};
