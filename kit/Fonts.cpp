// SPDX-License-Identifier: GPL-3.0-or-later
#include "Fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace {

QFont face(const QStringList &families, QFont::StyleHint hint, qreal points)
{
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(hint);
    font.setPointSizeF(points);
    return font;
}

} // namespace

QFont Fonts::msSansSerif(qreal points)
{
    return face({QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"), QStringLiteral("Liberation Sans")},
                QFont::SansSerif, points);
}

QFont Fonts::arial(qreal points, bool bold)
{
    QFont font = face({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")}, QFont::SansSerif, points);
    font.setBold(bold);
    return font;
}

QFont Fonts::narkisim(qreal points)
{
    // Narkisim's weight 650 lies between demibold and bold; the serif that
    // stands in for it is simply bold.
    const bool present = QFontDatabase::hasFamily(QStringLiteral("Narkisim"));
    QFont font = face({QStringLiteral("Narkisim"), QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")},
                      QFont::Serif, points);
    font.setWeight(present ? QFont::Weight(650) : QFont::Bold);
    return font;
}

QFont Fonts::courier(qreal points)
{
    QFont font = face({QStringLiteral("Courier"), QStringLiteral("Liberation Mono")}, QFont::TypeWriter, points);
    font.setFixedPitch(true);
    return font;
}
