// SPDX-License-Identifier: GPL-3.0-or-later
#include "Pictures.h"

#include "TileCodes.h"

#include <QHash>

namespace {

QPixmap load(const QString &path)
{
    static QHash<QString, QPixmap> decoded;
    if (path.isEmpty())
        return {};
    auto found = decoded.constFind(path);
    if (found == decoded.constEnd())
        found = decoded.insert(path, QPixmap(path));
    return *found;
}

} // namespace

QPixmap Pictures::tile(const QString &code)
{
    return load(TileCodes::picturePath(code));
}

QPixmap Pictures::figure(Arrow::Direction facing)
{
    static const char *const names[] = {"down", "up", "right", "left"};
    return load(QStringLiteral(":/figure/%1.xpm").arg(QLatin1String(names[facing])));
}

QIcon Pictures::windowIcon()
{
    const QPixmap picture = lifeIcon();
    QIcon icon(picture);
    for (const int factor : {2, 4})
        icon.addPixmap(enlarged(picture, picture.size() * factor, 1));
    return icon;
}

QPixmap Pictures::enlarged(const QPixmap &picture, const QSize &size, qreal devicePixelRatio)
{
    QPixmap sharp = picture.scaled(size * devicePixelRatio, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    sharp.setDevicePixelRatio(devicePixelRatio);
    return sharp;
}
