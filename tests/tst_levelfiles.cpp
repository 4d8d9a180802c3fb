// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelFile.h"
#include "LevelFolder.h"
#include "LevelRecord.h"
#include "ProgramDir.h"
#include "ProgressFile.h"
#include "ScratchDir.h"

#include <QDir>
#include <QTest>

#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>

// Level files and the progress file, byte for byte as the game reads and
// writes them.
class TestLevelFiles : public QObject
{
    Q_OBJECT

private slots:
    void readSplitsLinesLikeTheGame_data();
    void readSplitsLinesLikeTheGame();
    void readFailsForWhatIsNoFile();
    void writeEndsEveryItemWithCrLf();
    void failedWriteKeepsTheOldFile();
    void staleTemporaryFilesGo_data();
    void staleTemporaryFilesGo();
    void fileLinesFillTheCustomSlot();
    void playRefusesFilesItCannotBuild_data();
    void playRefusesFilesItCannotBuild();
    void joinAddsOneSeparator_data();
    void joinAddsOneSeparator();
    void progressReadsTheStoredSlot_data();
    void progressReadsTheStoredSlot();
    void missingProgressFileIsCreatedEmpty();
    void progressOnlyGrows();
};

void TestLevelFiles::readSplitsLinesLikeTheGame_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    QByteArray sixteenRows;
    QStringList rowLines;
    for (int i = 0; i < 16; ++i) {
        sixteenRows += "1111111111111111\r\n";
        rowLines << "1111111111111111";
    }
    const QByteArray header = "0\r\n0\r\n12632256\r\n30\r\n";
    const QStringList headerLines{"0", "0", "12632256", "30"};
    QTest::newRow("20 lines") << header + sixteenRows << headerLines + rowLines;
    QTest::newRow("21 lines, the last empty") << header + sixteenRows + "\r\n" << headerLines + rowLines + QStringList{""};
    QTest::newRow("4 lines") << header << headerLines;
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("lone CR ends a line") << QByteArray("1\r2\r3") << QStringList{"1", "2", "3"};
    QTest::newRow("lone LF does not") << QByteArray("1\n2\r\n3") << QStringList{"1\n2", "3"};
    QTest::newRow("last line without terminator") << QByteArray("480\r\n960") << QStringList{"480", "960"};
    QTest::newRow("CR at the very end") << QByteArray("a\r") << QStringList{"a"};
    QTest::newRow("Latin-1 round trip") << QByteArray("\xaf\xe9\r\n") << QStringList{QStringLiteral("\u00af\u00e9")};

    QByteArray thirty;
    QStringList first21;
    for (int i = 0; i < 30; ++i) {
        thirty += QByteArray::number(i) + "\r\n";
        if (i < 21)
            first21 << QString::number(i);
    }
    QTest::newRow("lines past 21 ignored") << thirty << first21;
}

void TestLevelFiles::readSplitsLinesLikeTheGame()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    const ScratchDir dir;
    dir.write("level.lvl", bytes);
    QCOMPARE(LevelFile::read(dir.filePath("level.lvl")), std::optional<QStringList>(lines));
}

void TestLevelFiles::readFailsForWhatIsNoFile()
{
    const ScratchDir dir;
    QVERIFY(!LevelFile::read(dir.filePath("missing.lvl")));
    QVERIFY(QDir(dir.path()).mkdir("x.lvl"));
    QVERIFY(!LevelFile::read(dir.filePath("x.lvl")));
}

void TestLevelFiles::writeEndsEveryItemWithCrLf()
{
    const ScratchDir dir;
    const QString path = dir.filePath("Level.lvl");
    QVERIFY(LevelFile::write(path, {"0", "0", "12632256", "30", "1111\r\n1001"}));
    QCOMPARE(dir.read("Level.lvl"), QByteArray("0\r\n0\r\n12632256\r\n30\r\n1111\r\n1001\r\n"));
    // Replacing leaves nothing of the longer file behind.
    QVERIFY(LevelFile::write(path, {"480"}));
    QCOMPARE(dir.read("Level.lvl"), QByteArray("480\r\n"));
}

void TestLevelFiles::failedWriteKeepsTheOldFile()
{
    const ScratchDir dir;
    dir.write("Level.lvl", "keep me\r\n");
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const bool written = LevelFile::write(dir.filePath("Level.lvl"), {"new"});
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (written)
        QSKIP("the directory stays writable for this user (running as root)");
    QCOMPARE(dir.read("Level.lvl"), QByteArray("keep me\r\n"));
    QVERIFY(!LevelFile::write(dir.filePath("no/such/dir/Level.lvl"), {"x"}));
}

void TestLevelFiles::staleTemporaryFilesGo_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("minutesOld"); // a link as old when negative
    QTest::addColumn<bool>("saved");     // under the longest name a file may have, or the folder listed
    QTest::addColumn<bool>("removed");
    QTest::newRow("short name") << ".veltrano-0a9z3k.new" << 60 << false << true;
    QTest::newRow("short name, saved") << ".veltrano-0a9z3k.new" << 60 << true << true;
    QTest::newRow("a player's backup of a level") << "castle.lvl.backup.new" << 60 << false << false;
    QTest::newRow("a player's copy of the progress") << "LGT.Log.1z141z3.new" << 60 << true << false;
    QTest::newRow("capitals") << ".veltrano-0A9Z3K.new" << 60 << false << false;
    QTest::newRow("one letter short") << ".veltrano-0a9z3.new" << 60 << true << false;
    QTest::newRow("one letter long") << ".veltrano-0a9z3kk.new" << 60 << false << false;
    QTest::newRow("still being saved") << ".veltrano-0a9z3k.new" << 1 << false << false;
    QTest::newRow("a link") << ".veltrano-0a9z3k.new" << -60 << false << false;
    QTest::newRow("not the game's") << "notes.txt.k2.new" << 60 << false << false;
}

// A save cut short leaves its temporary file behind; the next listing of the
// folder or save into it removes that, and nothing else: no link, nothing
// another save may still be writing.
void TestLevelFiles::staleTemporaryFilesGo()
{
    QFETCH(QString, name);
    QFETCH(int, minutesOld);
    QFETCH(bool, saved);
    const ScratchDir dir;
    dir.write("kept.lvl", "480\r\n");
    QVERIFY(minutesOld < 0 ? QFile::link(dir.filePath("kept.lvl"), dir.filePath(name)) : (dir.write(name, "x"), true));
    const timespec then{time(nullptr) - qAbs(minutesOld) * 60, 0};
    const timespec times[2] = {then, then};
    QVERIFY(utimensat(AT_FDCWD, QFile::encodeName(dir.filePath(name)).constData(), times, AT_SYMLINK_NOFOLLOW) == 0);
    // 251 characters and ".lvl" are the 255 bytes a file name may have.
    QVERIFY(saved ? LevelFile::write(dir.filePath(QString(251, u'L') + ".lvl"), {"480"})
                  : LevelFolder::entries(dir.path()).size() == 1);
    const QStringList left = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
    QTEST(!left.contains(name), "removed");
    QVERIFY(left.contains("kept.lvl"));
}

void TestLevelFiles::fileLinesFillTheCustomSlot()
{
    const LevelRecord level = LevelRecord::fromFileLines({"960", "480", "255", "45", "1111", "1031"});
    QCOMPARE(level.name, QStringLiteral("Custom"));
    QCOMPARE(level.locationX, QStringLiteral("960"));
    QCOMPARE(level.locationY, QStringLiteral("480"));
    QCOMPARE(level.color, std::optional<quint32>(255));
    QCOMPARE(level.time, QStringLiteral("45"));
    QCOMPARE(level.rows.size(), 17);
    QCOMPARE(level.rows.mid(0, 2), (QStringList{"1111", "1031"}));
    QVERIFY(level.rows.mid(2).join(QString()).isEmpty());
}

void TestLevelFiles::playRefusesFilesItCannotBuild_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("problem"); // empty when the file plays
    QTest::addColumn<QString>("startX");  // as the play screen gets it
    const QString start = "The start position of this level is ";
    const QString colour = "The colour of this level is ";
    QTest::newRow("a good level") << QStringList{"0", "0", "12632256", "30", "1041"} << "" << "0";
    QTest::newRow("start off the grid still plays") << QStringList{"100", "0", "0", "30", "1041"} << "" << "100";
    QTest::newRow("start with a point") << QStringList{"480.0", "0", "0", "30", "1041"} << "" << "480";
    QTest::newRow("start as exponent") << QStringList{" 4.8e2", "0", "0", "30", "1041"} << "" << "480";
    QTest::newRow("colour with a point") << QStringList{"0", "0", "255.0", "30", "1041"} << "" << "0";
    QTest::newRow("four lines, no map") << QStringList{"0", "0", "12632256", "30"} << "This level has no map to play."
                                        << "0";
    QTest::newRow("empty file") << QStringList{} << start + "not a number." << "";
    QTest::newRow("start is text") << QStringList{"left", "0", "0", "30", "1041"} << start + "not a number."
                                   << "left";
    QTest::newRow("start beyond 16 bits") << QStringList{"99999", "0", "0", "30", "1041"} << start + "out of range."
                                          << "99999";
    QTest::newRow("start Y below 16 bits") << QStringList{"0", "-32769", "0", "30", "1041"}
                                           << start + "out of range." << "0";
    QTest::newRow("colour is text") << QStringList{"0", "0", "blue", "30", "1041"} << colour + "not a colour value."
                                    << "0";
    QTest::newRow("colour beyond 24 bits") << QStringList{"0", "0", "16777216", "30", "1041"}
                                           << colour + "out of range." << "0";
    QTest::newRow("negative colour") << QStringList{"0", "0", "-1", "30", "1041"} << colour + "out of range." << "0";
    QTest::newRow("time is text") << QStringList{"0", "0", "0", "soon", "1041"}
                                  << "The time limit of this level is not a number." << "0";
}

void TestLevelFiles::playRefusesFilesItCannotBuild()
{
    QFETCH(QStringList, lines);
    QTEST(LevelRecord::playProblem(lines), "problem");
    QTEST(LevelRecord::fromFileLines(lines).locationX, "startX");
}

void TestLevelFiles::joinAddsOneSeparator_data()
{
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QString>("path");
    QTest::newRow("short directory keeps its separator") << "/ab" << "/ab/LGT.Log";
    QTest::newRow("root") << "/" << "/LGT.Log";
    QTest::newRow("drive root") << "C:\\" << "C:\\LGT.Log";
    QTest::newRow("ordinary") << "/home/player/veltrano" << "/home/player/veltrano/LGT.Log";
}

void TestLevelFiles::joinAddsOneSeparator()
{
    QFETCH(QString, directory);
    QFETCH(QString, path);
    QCOMPARE(ProgramDir::join(directory, "LGT.Log"), path);
}

void TestLevelFiles::progressReadsTheStoredSlot_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<double>("slot");
    QTest::newRow("empty") << QByteArray() << 0.0;
    QTest::newRow("level 2") << QByteArray(" 125 \r\n") << 1.0;
    QTest::newRow("level 20") << QByteArray(" 2375 \r\n") << 19.0;
    QTest::newRow("custom slot") << QByteArray(" 2500 \r\n") << 20.0;
    QTest::newRow("not a multiple of 125") << QByteArray("200") << 1.6;
    QTest::newRow("junk") << QByteArray("hello") << 0.0;
    QTest::newRow("negative") << QByteArray(" -250 \r\n") << 0.0;
    QTest::newRow("beyond the last slot") << QByteArray(" 99999 \r\n") << 20.0;
    QTest::newRow("huge file") << QByteArray(4096, ' ') + "125" << 0.0;
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF 2375 \r\n") << 19.0;
    QTest::newRow("trailing text") << QByteArray(" 2375 x") << 19.0;
    QTest::newRow("number before a huge tail") << QByteArray(" 250 ") + QByteArray(4096, 'x') << 2.0;
    QTest::newRow("exponent") << QByteArray("1.25e3") << 10.0;
    QTest::newRow("exponent without digits") << QByteArray("125e") << 1.0;
}

void TestLevelFiles::progressReadsTheStoredSlot()
{
    QFETCH(QByteArray, content);
    QFETCH(double, slot);
    const ScratchDir dir;
    dir.write("LGT.Log", content);
    QCOMPARE(ProgressFile::readSlot(), slot);
}

void TestLevelFiles::missingProgressFileIsCreatedEmpty()
{
    const ScratchDir dir;
    QCOMPARE(ProgressFile::readSlot(), 0.0);
    QVERIFY(dir.exists("LGT.Log"));
    QCOMPARE(dir.read("LGT.Log"), QByteArray());
    QVERIFY(ProgressFile::record(0));
    QCOMPARE(dir.read("LGT.Log"), QByteArray());
}

void TestLevelFiles::progressOnlyGrows()
{
    const ScratchDir dir;
    QVERIFY(ProgressFile::record(1));
    QCOMPARE(dir.read("LGT.Log"), QByteArray(" 125 \r\n"));
    QVERIFY(ProgressFile::record(6));
    QVERIFY(ProgressFile::record(2));
    QCOMPARE(dir.read("LGT.Log"), QByteArray(" 750 \r\n"));
    QVERIFY(ProgressFile::record(20));
    QCOMPARE(dir.read("LGT.Log"), QByteArray(" 2500 \r\n"));

    dir.write("LGT.Log", "200");
    QVERIFY(ProgressFile::record(1));
    QCOMPARE(dir.read("LGT.Log"), QByteArray("200"));
    QVERIFY(ProgressFile::record(2));
    QCOMPARE(dir.read("LGT.Log"), QByteArray(" 250 \r\n"));
}

QTEST_GUILESS_MAIN(TestLevelFiles)
#include "tst_levelfiles.moc"
