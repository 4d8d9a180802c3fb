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

TileCodes::RowPaint TileCodes::paint(QStringView row, int column, const QString &code)
{
    RowPaint change;
    qsizetype at = 0;
    qsizetype index = 0;
    qsizetype lastLength = 0;
    while (at < row.size() && index < column) {
        const QChar c = row.at(at);
        lastLength = (c == u'8' || c == u'9') && at + 1 < row.size() ? 2 : 1;
        at += lastLength;
        ++index;
    }
    if (at < row.size()) {
        const QChar c = row.at(at);
        const qsizetype length = (c == u'8' || c == u'9') && at + 1 < row.size() ? 2 : 1;
        if (row.sliced(at, length) == code)
            return change;
        change.from = at;
        change.length = length;
        change.text = code;
        change.firstCode = index;
        change.replaced = 1;
        change.codes = {code};
        return change;
    }
    change.from = row.size();
    change.text = QString::number(Floor).repeated(column - index) + code;
    change.firstCode = index;
    change.codes = cutRow(change.text);
    // A lone "8" or "9" at the end of the row takes the first character
    // written after it into its code: one floor more for it, so that the
    // painted code lands in its cell.
    if (index > 0 && lastLength == 1 && (row.back() == u'8' || row.back() == u'9')) {
        change.text.prepend(QString::number(Floor));
        change.firstCode = index - 1;
        change.replaced = 1;
        change.codes = cutRow(row.back() + change.text);
    }
    return change;
}
