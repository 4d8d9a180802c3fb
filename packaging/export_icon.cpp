// Writes the game's icon for the desktop's menus and docks: the picture of
// the window icon (the explorer facing the viewer), scaled by a whole factor
// with every source pixel kept as a sharp square, as the game draws it.
//
// Usage: export_icon SOURCE SIZE OUTPUT.png

#include <QImage>
#include <QString>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: export_icon SOURCE SIZE OUTPUT.png\n");
        return 2;
    }
    const QImage source(QString::fromLocal8Bit(argv[1]));
    if (source.isNull()) {
        std::fprintf(stderr, "export_icon: cannot read %s\n", argv[1]);
        return 1;
    }
    bool ok = false;
    const int size = QString::fromLatin1(argv[2]).toInt(&ok);
    // A fractional factor would make some pixels wider than others.
    if (!ok || size <= 0 || source.width() != source.height() || size % source.width() != 0) {
        std::fprintf(stderr, "export_icon: %s is not a whole multiple of the %dx%d picture\n", argv[2],
                     source.width(), source.height());
        return 2;
    }
    const QImage icon = source.convertToFormat(QImage::Format_ARGB32)
                            .scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (!icon.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "export_icon: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
