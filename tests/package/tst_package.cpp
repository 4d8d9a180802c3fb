// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>

namespace {

struct Run {
    int exitCode = -1;
    QByteArray output;
    QByteArray errors;

    QByteArray all() const { return output + errors; }
};

// Runs a tool to its end and gives back its exit code and what it printed,
// on its standard output and, apart, on its standard error.
Run run(const QString &program, const QStringList &arguments, int timeoutMs = 120000)
{
    QProcess process;
    process.start(program, arguments);
    Run result;
    if (!process.waitForFinished(timeoutMs)) {
        result.errors = "did not finish: " + process.errorString().toUtf8();
        return result;
    }
    result.output = process.readAllStandardOutput();
    result.errors = process.readAllStandardError();
    if (process.exitStatus() == QProcess::NormalExit)
        result.exitCode = process.exitCode();
    return result;
}

const QString Games = QStringLiteral("./usr/games/veltrano");
const QString Checker = QStringLiteral("./usr/games/veltrano-levels");

// A paragraph of the machine-readable copyright file: its fields by name,
// a field's continuation lines joined to it by line breaks.
using Paragraph = QMap<QString, QString>;

QList<Paragraph> paragraphs(const QByteArray &text)
{
    QList<Paragraph> result(1);
    QString field;
    for (const QByteArray &bytes : text.split('\n')) {
        const QString line = QString::fromUtf8(bytes);
        if (line.trimmed().isEmpty()) {
            if (!result.last().isEmpty())
                result.append(Paragraph());
        } else if (line.startsWith(u' ') && !field.isEmpty()) {
            result.last()[field] += u'\n' + line.mid(1);
        } else {
            field = line.section(u':', 0, 0);
            result.last()[field] = line.section(u':', 1).trimmed();
        }
    }
    return result;
}

} // namespace

// The Debian package as a player's machine receives it, built as
// ./scripts/package builds it and judged from the outside with Debian's and
// the desktop's own tools; nothing is installed on the machine.
class TestPackage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void controlField_data();
    void controlField();
    void dependsOnWhatTheGameNeedsAtRunTime_data();
    void dependsOnWhatTheGameNeedsAtRunTime();
    void holdsTheGameTheCheckerAndWhatADesktopLooksFor();
    void menuEntryStartsTheGameInstalledInGames();
    void metainfoValidates();
    void copyrightNamesTheLicences_data();
    void copyrightNamesTheLicences();
    void lintianSaysNothing();

private:
    QString field(const QString &name) const;

    QTemporaryDir m_work;
    QString m_package;
    QString m_root; // the package's files, unpacked
};

void TestPackage::initTestCase()
{
    for (const char *tool : {"dpkg-buildflags", "dpkg-deb", "dpkg-shlibdeps", "file", "appstreamcli",
                             "desktop-file-validate", "lintian"}) {
        QVERIFY2(!QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty(),
                 qPrintable(QStringLiteral("%1 is missing: run ./scripts/test, which installs it").arg(tool)));
    }
    QVERIFY(m_work.isValid());

    // The package is built as ./scripts/package builds it, in a build tree of
    // its own: Release, with Debian's hardening flags, which this tree, built
    // for the tests, does without.
    const QString tree = QStringLiteral(PACKAGE_BUILD_DIR);
    const Run configure = run(QStringLiteral(CMAKE_COMMAND),
                              {QStringLiteral("-S"), QStringLiteral(SOURCE_DIR), QStringLiteral("-B"), tree,
                               QStringLiteral("-G"), QStringLiteral(CMAKE_GENERATOR),
                               QStringLiteral("-DCMAKE_BUILD_TYPE=Release"), QStringLiteral("-DBUILD_TESTING=OFF"),
                               QStringLiteral("-DVELTRANO_DEBIAN_FLAGS=ON")});
    QVERIFY2(configure.exitCode == 0, configure.all().constData());
    const Run build = run(QStringLiteral(CMAKE_COMMAND),
                          {QStringLiteral("--build"), tree, QStringLiteral("--target"), QStringLiteral("veltrano"),
                           QStringLiteral("veltrano-levels"), QStringLiteral("--parallel"),
                           QString::number(QThread::idealThreadCount())},
                          600000);
    QVERIFY2(build.exitCode == 0, build.all().constData());

    const Run cpack = run(QStringLiteral(CPACK_COMMAND),
                          {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
                           tree + QStringLiteral("/CPackConfig.cmake"), QStringLiteral("-B"), m_work.path()},
                          240000);
    QVERIFY2(cpack.exitCode == 0, cpack.all().constData());

    const Run architecture = run(QStringLiteral("dpkg"), {QStringLiteral("--print-architecture")});
    QCOMPARE(architecture.exitCode, 0);
    // veltrano_<version>_<architecture>.deb, as Debian names its packages.
    m_package = m_work.filePath(QStringLiteral("veltrano_%1_%2.deb")
                                    .arg(QStringLiteral(VELTRANO_VERSION),
                                         QString::fromLatin1(architecture.output.trimmed())));
    QVERIFY2(QFile::exists(m_package), qPrintable(QDir(m_work.path()).entryList().join(u' ')));

    m_root = m_work.filePath(QStringLiteral("root"));
    const Run extract = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), m_package, m_root});
    QVERIFY2(extract.exitCode == 0, extract.all().constData());
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
    QTest::newRow("Qt Multimedia, for the sounds") << "libqt6multimedia6";
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
// them, and the game and the designers' checker executable by everyone.
void TestPackage::holdsTheGameTheCheckerAndWhatADesktopLooksFor()
{
    const Run list = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-c"), m_package});
    QCOMPARE(list.exitCode, 0);
    QStringList files;
    QMap<QString, QString> modes;
    for (const QByteArray &line : list.output.split('\n')) {
        // drwxr-xr-x root/root 0 2026-12-07 12:00 ./usr/games/
        const QStringList columns = QString::fromUtf8(line).simplified().split(u' ');
        if (columns.size() < 6 || columns.at(0).startsWith(u'd'))
            continue;
        QCOMPARE(columns.at(1), QStringLiteral("root/root"));
        files.append(columns.at(5));
        modes.insert(columns.at(5), columns.at(0));
    }
    files.sort();

    QStringList expected = {Games,
                            Checker,
                            QStringLiteral("./usr/lib/games/veltrano/libveltrano_sounds.so"),
                            QStringLiteral("./usr/share/applications/veltrano.desktop"),
                            QStringLiteral("./usr/share/doc/veltrano/changelog.gz"),
                            QStringLiteral("./usr/share/doc/veltrano/copyright"),
                            QStringLiteral("./usr/share/man/man6/veltrano.6.gz"),
                            QStringLiteral("./usr/share/man/man6/veltrano-levels.6.gz"),
                            QStringLiteral("./usr/share/metainfo/example.veltrano.Veltrano.metainfo.xml")};
    for (const int size : {32, 48, 64, 128, 256})
        expected.append(QStringLiteral("./usr/share/icons/hicolor/%1x%1/apps/veltrano.png").arg(size));
    expected.sort();
    QCOMPARE(files, expected);
    QCOMPARE(modes.value(Games), QStringLiteral("-rwxr-xr-x"));
    QCOMPARE(modes.value(Checker), QStringLiteral("-rwxr-xr-x"));
}

void TestPackage::menuEntryStartsTheGameInstalledInGames()
{
    const QString entry = m_root + QStringLiteral("/usr/share/applications/veltrano.desktop");
    const Run validate = run(QStringLiteral("desktop-file-validate"), {entry});
    QVERIFY2(validate.exitCode == 0 && validate.all().isEmpty(), validate.all().constData());

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
    QVERIFY2(validate.exitCode == 0, validate.all().constData());
    for (const QByteArray &line : validate.output.split('\n')) {
        QVERIFY2(!line.startsWith("E:") && !line.startsWith("W:"), validate.all().constData());
    }
}

void TestPackage::copyrightNamesTheLicences_data()
{
    QTest::addColumn<QString>("files");
    QTest::addColumn<QString>("licence");
    QTest::addColumn<QString>("text"); // a line of the licence's paragraph
    QTest::newRow("the game, its pictures, levels and documentation")
        << "*" << "GPL-3.0-or-later" << "License version 3 can be found in \"/usr/share/common-licenses/GPL-3\".";
    QTest::newRow("the AppStream metainfo")
        << "packaging/example.veltrano.Veltrano.metainfo.xml.in" << "CC0-1.0" << "CC0 1.0 Universal";
}

// The copyright file in the format Debian's tools read: which files are
// under which licence, and each licence's text or where Debian keeps it.
void TestPackage::copyrightNamesTheLicences()
{
    QFETCH(const QString, files);
    QFETCH(const QString, licence);
    QFETCH(const QString, text);
    QFile file(m_root + QStringLiteral("/usr/share/doc/veltrano/copyright"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<Paragraph> copyright = paragraphs(file.readAll());
    QCOMPARE(copyright.first().value(QStringLiteral("Format")),
             QStringLiteral("https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"));

    const auto covering = std::find_if(copyright.cbegin(), copyright.cend(), [&files](const Paragraph &paragraph) {
        return paragraph.value(QStringLiteral("Files")) == files;
    });
    QVERIFY2(covering != copyright.cend(), qPrintable(files));
    QCOMPARE(covering->value(QStringLiteral("License")), licence);
    QCOMPARE(covering->value(QStringLiteral("Copyright")), QStringLiteral("2026 The Veltrano developers"));

    const auto licenceText = std::find_if(copyright.cbegin(), copyright.cend(), [&licence](const Paragraph &paragraph) {
        return !paragraph.contains(QStringLiteral("Files"))
            && paragraph.value(QStringLiteral("License")).startsWith(licence + u'\n');
    });
    QVERIFY2(licenceText != copyright.cend(), qPrintable(licence));
    QVERIFY2(licenceText->value(QStringLiteral("License")).split(u'\n').contains(text), qPrintable(text));
}

// Debian's checker at its most thorough, the pedantic, informational and
// experimental tags shown as well as the errors and warnings, finds
// nothing to say. (Its complaint about being run as root goes to the
// standard error.)
void TestPackage::lintianSaysNothing()
{
    const Run lintian = run(QStringLiteral("lintian"),
                            {QStringLiteral("--pedantic"), QStringLiteral("--display-info"),
                             QStringLiteral("--display-experimental"), QStringLiteral("--info"),
                             QStringLiteral("--fail-on"), QStringLiteral("error,warning,info,pedantic,experimental"),
                             m_package},
                            240000);
    QVERIFY2(lintian.exitCode == 0 && lintian.output.isEmpty(), lintian.all().constData());
}

QTEST_GUILESS_MAIN(TestPackage)
#include "tst_package.moc"
