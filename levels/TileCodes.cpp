// SPDX-License-Identifier: GPL-3.0-or-later
#include "TileCodes.h"

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
