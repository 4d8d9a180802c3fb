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

QPixmap Pictures::figure(Facing facing)
{
    static const char *const names[] = {"down", "up", "right", "left"};
    return load(QStringLiteral(":/figure/%1.xpm").arg(QLatin1String(names[facing])));
}
