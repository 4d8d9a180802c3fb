// SPDX-License-Identifier: GPL-3.0-or-later
#include "Pictures.h"
#include "TileCodes.h"

#include <QImage>
#include <QSet>
#include <QTest>

// Every picture the game shows is compiled in, 32 by 32, in 16 colours.
class TestPictures : public QObject
{
    Q_OBJECT

private slots:
    void everyPictureLoads_data();
    void everyPictureLoads();
    void floorHasNoPicture();
};

void TestPictures::everyPictureLoads_data()
{
    QTest::addColumn<QString>("path");
    for (const int code : TileCodes::all()) {
        if (code != TileCodes::Floor)
            QTest::newRow(qPrintable(QStringLiteral("tile %1").arg(code)))
                << TileCodes::picturePath(QString::number(code));
    }
    for (const char *facing : {"down", "up", "right", "left"})
        QTest::newRow(facing) << QStringLiteral(":/figure/%1.xpm").arg(QLatin1String(facing));
}

void TestPictures::everyPictureLoads()
{
    QFETCH(QString, path);
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QCOMPARE(image.size(), QSize(32, 32));
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    }
    QVERIFY2(colours.size() <= 16, qPrintable(QStringLiteral("%1 colours").arg(colours.size())));
}

void TestPictures::floorHasNoPicture()
{
    QVERIFY(Pictures::tile("0").isNull());
    QVERIFY(Pictures::tile("89").isNull());
    QVERIFY(!Pictures::tile("85").isNull());
    QVERIFY(!Pictures::lifeIcon().isNull());
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
