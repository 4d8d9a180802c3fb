// SPDX-License-Identifier: GPL-3.0-or-later
#include "TileCodes.h"

#include "Twips.h"

#include <QHash>

QStringList TileCodes::cutRow(const QString &row)
{
    QStringList codes;
    codes.reserve(row.size());
    for (qsizetype i = 0; i < row.size();) {
        const QChar c = row.at(i);
        const qsizetype length = (c == u'8' || c == u'9') ? 2 : 1;
        codes.append(row.mid(i, length));
        i += length;
    }
    return codes;
}

const QList<int> &TileCodes::all()
{
    static const QList<int> codes{0, 1, 2, 3, 4, 5, 6, 7, 80, 81, 82, 83, 84, 85, 86, 87, 88, 90};
    return codes;
}

bool TileCodes::isKnown(const QString &code)
{
    if (code.isEmpty() || code.size() > 2)
        return false;
    for (const QChar c : code) {
        if (!c.isDigit() || c.unicode() > 0x7f)
            return false;
    }
    // "03" or "00" read as numbers but are not codes the cutting can produce.
    if (code.size() == 2 && code.at(0) != u'8' && code.at(0) != u'9')
        return false;
    if (code.size() == 1 && (code.at(0) == u'8' || code.at(0) == u'9'))
        return false;
    return all().contains(code.toInt());
}

QString TileCodes::picturePath(const QString &code)
{
    if (!isKnown(code) || code == u"0")
        return {};
    return QStringLiteral(":/tiles/%1.xpm").arg(code);
}

int TileCodes::number(const QString &code)
{
    return isKnown(code) ? code.toInt() : Wall;
}

QString TileCodes::name(int code)
{
    static const QHash<int, QString> names{
        {0, QStringLiteral("Floor")},
        {1, QStringLiteral("Brick wall")},
        {2, QStringLiteral("Palm tree")},
        {3, QStringLiteral("Banknote")},
        {4, QStringLiteral("Exit")},
        {5, QStringLiteral("Light bulb")},
        {6, QStringLiteral("Life ring")},
        {7, QStringLiteral("Diamond")},
        {80, QStringLiteral("Boulder")},
        {81, QStringLiteral("Ant")},
        {82, QStringLiteral("Pyramid block")},
        {83, QStringLiteral("Floppy disk")},
        {84, QStringLiteral("Clock")},
        {85, QStringLiteral("Arrow panel")},
        {86, QStringLiteral("Globe")},
        {87, QStringLiteral("Red dot with rays")},
        {88, QStringLiteral("Blue ring")},
        {90, QStringLiteral("Blue and red square")},
    };
    return names.value(code);
}

QStringList TileCodes::painted(QStringList rows, const QPoint &cell, const QString &code)
{
    if (cell.x() < 0 || cell.y() < 0)
        return rows;
    const QString floor = QString::number(Floor);
    // Empty rows after the last one written are no part of the map yet: a
    // cell painted below them makes them floor, as it does the rows it adds.
    qsizetype written = rows.size();
    while (written > 0 && rows.at(written - 1).isEmpty())
        --written;
    for (qsizetype row = written; row < rows.size() && row <= cell.y(); ++row)
        rows[row] = floor.repeated(Twips::MapCells);
    while (rows.size() <= cell.y())
        rows.append(floor.repeated(Twips::MapCells));
    QStringList codes = cutRow(rows.at(cell.y()));
    while (codes.size() <= cell.x())
        codes.append(floor);
    codes[cell.x()] = code;
    rows[cell.y()] = codes.join(QString());
    return rows;
}
