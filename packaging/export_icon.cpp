// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the game's icon for the desktop's menus and docks: the picture of
// the window icon (the explorer facing the viewer) enlarged with nearest-
// neighbour sampling, so that every pixel of the icon is the picture's pixel
// under it and no colour appears that the game does not draw. At a whole
// factor each source pixel becomes a sharp square; at the sizes between (48
// from 32) some become a column or row wider than others.
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
    const QImage source = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_ARGB32);
    if (source.isNull()) {
        std::fprintf(stderr, "export_icon: cannot read %s\n", argv[1]);
        return 1;
    }
    bool ok = false;
    const int size = QString::fromLatin1(argv[2]).toInt(&ok);
    if (!ok || size < source.width() || source.width() != source.height()) {
        std::fprintf(stderr, "export_icon: %s is no enlargement of the %dx%d picture\n", argv[2], source.width(),
                     source.height());
        return 2;
    }
    // Sampled by hand rather than by QImage::scaled, whose fast path may
    // shift the sampling grid by half a pixel.
    QImage icon(size, size, QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x)
            icon.setPixel(x, y, source.pixel(x * source.width() / size, y * source.height() / size));
    }
    if (!icon.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "export_icon: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
