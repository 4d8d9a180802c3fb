// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The keys of the [Desktop Entry] group of a .desktop file.
QMap<QString, QString> desktopEntry(const QString &path)
{
    QMap<QString, QString> keys;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return keys;
    bool inEntry = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(u'[')) {
            inEntry = line == u"[Desktop Entry]";
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (inEntry && equals > 0)
            keys.insert(line.left(equals), line.mid(equals + 1));
    }
    return keys;
}

} // namespace

// What `cmake --install` leaves for a Linux desktop: the game and the
// designers' checker, the menu entry, the icons, the AppStream metainfo and
// the man pages, where the desktop, the shell and man look for them.
class TestInstall : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void executableGoesToBin_data();
    void executableGoesToBin();
    void menuEntryStartsTheInstalledGame();
    void metainfoManPagesAndSoundsAreInstalled();
    void iconIsTheWindowIconPixelForPixel_data();
    void iconIsTheWindowIconPixelForPixel();

private:
    QTemporaryDir m_prefix;
};

void TestInstall::initTestCase()
{
    QVERIFY(m_prefix.isValid());
    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(QStringLiteral(CMAKE_COMMAND),
                  {QStringLiteral("--install"), QStringLiteral(BUILD_DIR), QStringLiteral("--prefix"), m_prefix.path()});
    QVERIFY(install.waitForFinished(60000));
    QVERIFY2(install.exitStatus() == QProcess::NormalExit && install.exitCode() == 0,
             install.readAll().constData());
}

void TestInstall::executableGoesToBin_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("the game") << "veltrano";
    QTest::newRow("the designers' checker") << "veltrano-levels";
}

void TestInstall::executableGoesToBin()
{
    QFETCH(const QString, name);
    const QFileInfo program(m_prefix.filePath(QStringLiteral("bin/") + name));
    QVERIFY(program.isFile());
    QVERIFY(program.isExecutable());
}

// The entry is valid for the desktop's tools and names the executable by the
// full path it was installed to, whatever the prefix.
void TestInstall::menuEntryStartsTheInstalledGame()
{
    const QString path = m_prefix.filePath(QStringLiteral("share/applications/veltrano.desktop"));
    QVERIFY(QFile::exists(path));

    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    QVERIFY2(!validator.isEmpty(), "desktop-file-validate is missing: run ./scripts/test, which installs it");
    QProcess validate;
    validate.setProcessChannelMode(QProcess::MergedChannels);
    validate.start(validator, {path});
    QVERIFY(validate.waitForFinished(30000));
    const QByteArray complaints = validate.readAll();
    QVERIFY2(validate.exitCode() == 0 && complaints.isEmpty(), complaints.constData());

    const QMap<QString, QString> entry = desktopEntry(path);
    QCOMPARE(entry.value(QStringLiteral("Type")), QStringLiteral("Application"));
    QCOMPARE(entry.value(QStringLiteral("Name")), QStringLiteral("Veltrano"));
    QCOMPARE(entry.value(QStringLiteral("Exec")), m_prefix.filePath(QStringLiteral("bin/veltrano")));
    QCOMPARE(entry.value(QStringLiteral("Icon")), QStringLiteral("veltrano"));
    QCOMPARE(entry.value(QStringLiteral("Terminal")), QStringLiteral("false"));
    QVERIFY(entry.value(QStringLiteral("Categories")).split(u';').contains(QStringLiteral("Game")));
}

void TestInstall::metainfoManPagesAndSoundsAreInstalled()
{
    QVERIFY(QFileInfo(m_prefix.filePath(QStringLiteral("share/metainfo/example.veltrano.Veltrano.metainfo.xml"))).isFile());
    QVERIFY(QFileInfo(m_prefix.filePath(QStringLiteral("lib/games/veltrano/libveltrano_sounds.so"))).isFile());
    QVERIFY(QFileInfo(m_prefix.filePath(QStringLiteral("share/man/man6/veltrano.6.gz"))).isFile());
    QVERIFY(QFileInfo(m_prefix.filePath(QStringLiteral("share/man/man6/veltrano-levels.6.gz"))).isFile());
}

void TestInstall::iconIsTheWindowIconPixelForPixel_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("32 px, as the window shows it") << 32;
    QTest::newRow("48 px, every other pixel doubled") << 48;
    QTest::newRow("64 px, each pixel a 2 x 2 square") << 64;
    QTest::newRow("128 px, each pixel a 4 x 4 square") << 128;
    QTest::newRow("256 px, each pixel an 8 x 8 square") << 256;
}

// Each pixel of the installed icon is the window icon's pixel under it, so the
// large icon stays as crisp as the small one (no smoothing between pixels).
void TestInstall::iconIsTheWindowIconPixelForPixel()
{
    QFETCH(const int, size);
    const QString path =
        m_prefix.filePath(QStringLiteral("share/icons/hicolor/%1x%1/apps/veltrano.png").arg(size));
    const QImage icon = QImage(path).convertToFormat(QImage::Format_ARGB32);
    QVERIFY2(!icon.isNull(), qPrintable(path));
    QCOMPARE(icon.size(), QSize(size, size));

    const QImage window = QImage(QStringLiteral(WINDOW_ICON)).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(window.size(), QSize(32, 32));
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (icon.pixel(x, y) != window.pixel(x * window.width() / size, y * window.height() / size))
                QFAIL(qPrintable(QStringLiteral("pixel %1, %2 differs from the window icon").arg(x).arg(y)));
        }
    }
    // The figure stands on a transparent ground, as it does in the game.
    QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
}

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
