// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QByteArray output;
};

// Runs a tool to its end and gives back its exit code and what it printed.
Run run(const QString &program, const QStringList &arguments, int timeoutMs = 120000)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    Run result;
    if (!process.waitForFinished(timeoutMs)) {
        result.output = "did not finish: " + process.errorString().toUtf8();
        return result;
    }
    result.output = process.readAll();
    if (process.exitStatus() == QProcess::NormalExit)
        result.exitCode = process.exitCode();
    return result;
}

const QString Games = QStringLiteral("./usr/games/veltrano");

} // namespace

// The Debian package as a player's machine receives it, built by cpack from
// this build tree and judged from the outside with Debian's and the
// desktop's own tools; nothing is installed on the machine.
class TestPackage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void controlField_data();
    void controlField();
    void dependsOnWhatTheGameNeedsAtRunTime_data();
    void dependsOnWhatTheGameNeedsAtRunTime();
    void holdsTheGameAndWhatADesktopLooksFor();
    void menuEntryStartsTheGameInstalledInGames();
    void metainfoValidates();
    void lintianFindsNoErrors();

private:
    QString field(const QString &name) const;

    QTemporaryDir m_work;
    QString m_package;
    QString m_root; // the package's files, unpacked
};

void TestPackage::initTestCase()
{
    for (const char *tool : {"dpkg-deb", "dpkg-shlibdeps", "file", "appstreamcli", "desktop-file-validate", "lintian"}) {
        QVERIFY2(!QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty(),
                 qPrintable(QStringLiteral("%1 is missing: run ./scripts/test, which installs it").arg(tool)));
    }
    QVERIFY(m_work.isValid());

    const Run cpack = run(QStringLiteral(CPACK_COMMAND),
                          {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
                           QStringLiteral(BUILD_DIR "/CPackConfig.cmake"), QStringLiteral("-B"), m_work.path()},
                          240000);
    QVERIFY2(cpack.exitCode == 0, cpack.output.constData());

    const Run architecture = run(QStringLiteral("dpkg"), {QStringLiteral("--print-architecture")});
    QCOMPARE(architecture.exitCode, 0);
    // veltrano_<version>_<architecture>.deb, as Debian names its packages.
    m_package = m_work.filePath(QStringLiteral("veltrano_%1_%2.deb")
                                    .arg(QStringLiteral(VELTRANO_VERSION),
                                         QString::fromLatin1(architecture.output.trimmed())));
    QVERIFY2(QFile::exists(m_package), qPrintable(QDir(m_work.path()).entryList().join(u' ')));

    m_root = m_work.filePath(QStringLiteral("root"));
    const Run extract = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), m_package, m_root});
    QVERIFY2(extract.exitCode == 0, extract.output.constData());
}

QString TestPackage::field(const QString &name) const
{
    const Run read = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), m_package, name});
    return read.exitCode == 0 ? QString::fromUtf8(read.output).trimmed() : QString();
}

void TestPackage::controlField_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::newRow("package") << "Package" << "veltrano";
    QTest::newRow("version") << "Version" << VELTRANO_VERSION;
    QTest::newRow("section: games") << "Section" << "games";
    QTest::newRow("priority") << "Priority" << "optional";
    QTest::newRow("maintainer") << "Maintainer" << "The Veltrano developers <team@veltrano.example>";
    QTest::newRow("homepage") << "Homepage" << "https://veltrano.example";
}

void TestPackage::controlField()
{
    QFETCH(const QString, name);
    QFETCH(const QString, value);
    QCOMPARE(field(name), value);
}

void TestPackage::dependsOnWhatTheGameNeedsAtRunTime_data()
{
    QTest::addColumn<QString>("package");
    // Found by the library scan.
    QTest::newRow("Qt Widgets") << "libqt6widgets6";
    QTest::newRow("Qt GUI") << "libqt6gui6";
    QTest::newRow("Qt Core") << "libqt6core6";
    QTest::newRow("C library") << "libc6";
    // Loaded at run time, which no scan sees.
    QTest::newRow("X11 platform plugin") << "qt6-qpa-plugins";
    QTest::newRow("Wayland platform plugin") << "qt6-wayland";
    QTest::newRow("the captions' fonts") << "fonts-liberation";
}

void TestPackage::dependsOnWhatTheGameNeedsAtRunTime()
{
    QFETCH(const QString, package);
    QStringList names;
    for (const QString &dependency : field(QStringLiteral("Depends")).split(u',')) {
        // "libc6 (>= 2.34)" names libc6; alternatives are not used.
        names.append(dependency.trimmed().section(u' ', 0, 0));
    }
    QVERIFY2(names.contains(package), qPrintable(names.join(QStringLiteral(", "))));
}

// Every file of the package, with nothing of the build or the tests among
// them, and the game executable by everyone.
void TestPackage::holdsTheGameAndWhatADesktopLooksFor()
{
    const Run list = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-c"), m_package});
    QCOMPARE(list.exitCode, 0);
    QStringList files;
    QString gameMode;
    for (const QByteArray &line : list.output.split('\n')) {
        // drwxr-xr-x root/root 0 2026-12-07 12:00 ./usr/games/
        const QStringList columns = QString::fromUtf8(line).simplified().split(u' ');
        if (columns.size() < 6 || columns.at(0).startsWith(u'd'))
            continue;
        QCOMPARE(columns.at(1), QStringLiteral("root/root"));
        files.append(columns.at(5));
        if (columns.at(5) == Games)
            gameMode = columns.at(0);
    }
    files.sort();

    QStringList expected = {Games,
                            QStringLiteral("./usr/share/applications/veltrano.desktop"),
                            QStringLiteral("./usr/share/doc/veltrano/changelog.gz"),
                            QStringLiteral("./usr/share/doc/veltrano/copyright"),
                            QStringLiteral("./usr/share/man/man6/veltrano.6.gz"),
                            QStringLiteral("./usr/share/metainfo/example.veltrano.Veltrano.metainfo.xml")};
    for (const int size : {32, 48, 64, 128, 256})
        expected.append(QStringLiteral("./usr/share/icons/hicolor/%1x%1/apps/veltrano.png").arg(size));
    expected.sort();
    QCOMPARE(files, expected);
    QCOMPARE(gameMode, QStringLiteral("-rwxr-xr-x"));
}

void TestPackage::menuEntryStartsTheGameInstalledInGames()
{
    const QString entry = m_root + QStringLiteral("/usr/share/applications/veltrano.desktop");
    const Run validate = run(QStringLiteral("desktop-file-validate"), {entry});
    QVERIFY2(validate.exitCode == 0 && validate.output.isEmpty(), validate.output.constData());

    QFile file(entry);
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QVERIFY(lines.contains("Exec=/usr/games/veltrano"));
    QVERIFY(lines.contains("Icon=veltrano"));
}

// AppStream's checker, offline: the screenshots lie on the game's site and
// cannot be fetched here, so their checks are the network's, not ours.
void TestPackage::metainfoValidates()
{
    const QString metainfo = m_root + QStringLiteral("/usr/share/metainfo/example.veltrano.Veltrano.metainfo.xml");
    const Run validate = run(QStringLiteral("appstreamcli"), {QStringLiteral("validate"), QStringLiteral("--no-net"),
                                                              QStringLiteral("--pedantic"), metainfo});
    QVERIFY2(validate.exitCode == 0, validate.output.constData());
    for (const QByteArray &line : validate.output.split('\n')) {
        QVERIFY2(!line.startsWith("E:") && !line.startsWith("W:"), validate.output.constData());
    }
}

void TestPackage::lintianFindsNoErrors()
{
    const Run lintian = run(QStringLiteral("lintian"), {QStringLiteral("--fail-on"), QStringLiteral("error"), m_package},
                            240000);
    QVERIFY2(lintian.exitCode == 0, lintian.output.constData());
    for (const QByteArray &line : lintian.output.split('\n'))
        QVERIFY2(!line.startsWith("E:"), lintian.output.constData());
}

QTEST_GUILESS_MAIN(TestPackage)
#include "tst_package.moc"
