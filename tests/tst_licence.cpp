// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

// The licence every file of the game says it is under: the code, the
// scripts, the build files, the man pages and the menu entry under
// GPL-3.0-or-later, the AppStream metainfo under CC0-1.0, so that a
// distribution, or anyone who takes one file away, knows its terms.
class TestLicence : public QObject
{
    Q_OBJECT

private slots:
    void everyFileNamesItsLicence_data();
    void everyFileNamesItsLicence();
    void copyingHoldsTheGplVersion3();
};

void TestLicence::everyFileNamesItsLicence_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("licence");

    const QDir source(QStringLiteral(SOURCE_DIR));
    const QStringList named = {QStringLiteral("*.cpp"),         QStringLiteral("*.h"),
                               QStringLiteral("*.py"),          QStringLiteral("*.sh"),
                               QStringLiteral("*.cmake"),       QStringLiteral("CMakeLists.txt"),
                               QStringLiteral("*.6"),           QStringLiteral("*.desktop.in"),
                               QStringLiteral("*.metainfo.xml.in")};
    int files = 0;
    QDirIterator it(source.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo file = it.nextFileInfo();
        const QString path = source.relativeFilePath(file.filePath());
        // Build trees (as .gitignore has them) and git's own files hold nothing of ours.
        if (path.startsWith(QStringLiteral("build")) || path.startsWith(QStringLiteral(".git/")))
            continue;
        // Scripts are known by being executable, whatever their names.
        if (!QDir::match(named, file.fileName()) && !file.isExecutable())
            continue;
        const bool metadata = file.fileName().endsWith(QStringLiteral(".metainfo.xml.in"));
        QTest::newRow(qPrintable(path)) << path
                                        << (metadata ? QStringLiteral("CC0-1.0") : QStringLiteral("GPL-3.0-or-later"));
        ++files;
    }
    // The tree was found and walked.
    QVERIFY2(files > 100, qPrintable(source.path()));
}

// The identifier stands on the first line, or on the second after a "#!" or
// an XML declaration, which must come first.
void TestLicence::everyFileNamesItsLicence()
{
    QFETCH(const QString, path);
    QFETCH(const QString, licence);
    QFile file(QDir(QStringLiteral(SOURCE_DIR)).filePath(path));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray line = file.readLine();
    if (line.startsWith("#!") || line.startsWith("<?xml"))
        line = file.readLine();
    static const QRegularExpression identifier(QStringLiteral("^(//|#|\\.\\\\\"|<!--) SPDX-License-Identifier: (\\S+)"));
    const QRegularExpressionMatch match = identifier.match(QString::fromUtf8(line));
    QVERIFY2(match.hasMatch(), line.trimmed().constData());
    QCOMPARE(match.captured(2), licence);
}

// COPYING is the licence's own text, word for word as Debian ships it.
void TestLicence::copyingHoldsTheGplVersion3()
{
    QFile copying(QStringLiteral(SOURCE_DIR "/COPYING"));
    QVERIFY(copying.open(QIODevice::ReadOnly));
    QFile gpl(QStringLiteral("/usr/share/common-licenses/GPL-3"));
    QVERIFY(gpl.open(QIODevice::ReadOnly));
    QVERIFY2(copying.readAll() == gpl.readAll(), "COPYING is not the text of /usr/share/common-licenses/GPL-3");
}

QTEST_GUILESS_MAIN(TestLicence)
#include "tst_licence.moc"
