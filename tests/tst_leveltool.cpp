// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelCheck.h"
#include "LevelFile.h"
#include "LevelMap.h"
#include "LevelRecord.h"
#include "LevelSolver.h"
#include "LevelTable.h"
#include "LevelTool.h"
#include "ScratchDir.h"

#include <QTest>

// The designers' tool as they run it: what it says about good, unwinnable and
// malformed level files, with which exit status, and the files it exports.
class TestLevelTool : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void exportWritesEveryBuiltInLevel();
    void goodFileIsWinnable();
    void routeIsGivenAsArrowKeys();
    void unwinnableFileFails_data();
    void unwinnableFileFails();
    void oneBadFileFailsTheRun();
    void codesNamingNoTileAreWalls();
    void malformedFileGetsOneLine_data();
    void malformedFileGetsOneLine();
    void checkRefusesWhatTheGameRefuses_data();
    void checkRefusesWhatTheGameRefuses();
    void difficultyFigures_data();
    void difficultyFigures();
    void curveOfTheBuiltInLevels();
    void curveNamesWhereItFalls();
    void wrongCommandsGetTheUsage_data();
    void wrongCommandsGetTheUsage();
    void replayTellsHowTheRunEnded_data();
    void replayTellsHowTheRunEnded();

private:
    int run(const QStringList &arguments);
    QString write(const QString &name, const QByteArray &bytes);

    std::unique_ptr<ScratchDir> m_dir;
    QString m_out;
    QString m_err;
};

namespace {

QByteArray levelFile(const QStringList &header, const QStringList &rows)
{
    return ((header + rows).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1();
}

const QStringList Header{"480", "480", "12632256", "30"};

} // namespace

void TestLevelTool::init()
{
    m_dir = std::make_unique<ScratchDir>();
    m_out.clear();
    m_err.clear();
}

void TestLevelTool::cleanup()
{
    m_dir.reset();
}

int TestLevelTool::run(const QStringList &arguments)
{
    m_out.clear();
    m_err.clear();
    QTextStream out(&m_out);
    QTextStream err(&m_err);
    LevelTool tool(out, err);
    return tool.run(arguments);
}

QString TestLevelTool::write(const QString &name, const QByteArray &bytes)
{
    m_dir->write(name, bytes);
    return m_dir->filePath(name);
}

void TestLevelTool::exportWritesEveryBuiltInLevel()
{
    const QString directory = m_dir->filePath("levels");
    QCOMPARE(run({"export", directory}), int(LevelTool::Done));
    for (int slot = 0; slot < LevelTable::BuiltInLevels; ++slot) {
        const QString path = QStringLiteral("%1/level%2.lvl").arg(directory).arg(slot + 1, 2, 10, QLatin1Char('0'));
        const auto lines = LevelFile::read(path);
        QVERIFY2(lines, qPrintable(path));
        const LevelRecord builtIn = LevelTable::slot(slot);
        const LevelRecord exported = LevelRecord::fromFileLines(*lines);
        QCOMPARE(exported.locationX, builtIn.locationX);
        QCOMPARE(exported.locationY, builtIn.locationY);
        QCOMPARE(exported.time, builtIn.time);
        QCOMPARE(exported.color, builtIn.color.value_or(LevelTable::rgb(192, 192, 192)));
        QCOMPARE(exported.rows.mid(0, 16), builtIn.rows);
        QVERIFY(exported.rows.at(16).isEmpty());
    }
    QCOMPARE(m_out.count(u'\n'), LevelTable::BuiltInLevels);
}

void TestLevelTool::goodFileIsWinnable()
{
    QCOMPARE(run({"export", m_dir->path()}), int(LevelTool::Done));
    const QString path = m_dir->filePath("level01.lvl");
    QCOMPARE(run({"check", path}), int(LevelTool::Done));
    const QStringList lines = m_out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines.at(0), path + ": map 16 x 16, screen cash 14, exits 1, time 30");
    QCOMPARE(lines.at(1), path + ": all 14 banknotes and diamonds can be reached, and the exit");
    QVERIFY2(lines.at(2).startsWith(path + ": route of ") && lines.at(2).endsWith(": winnable"),
             qPrintable(lines.at(2)));
    QVERIFY2(lines.at(3).startsWith(path + ": difficulty: ") && lines.at(3).endsWith(" dead ends"),
             qPrintable(lines.at(3)));
    QVERIFY(m_err.isEmpty());
}

void TestLevelTool::routeIsGivenAsArrowKeys()
{
    QCOMPARE(run({"export", m_dir->path()}), int(LevelTool::Done));
    const QString path = m_dir->filePath("level04.lvl");
    QCOMPARE(run({"check", "--route", path}), int(LevelTool::Done));
    const QStringList lines = m_out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 5);
    const QString prefix = path + ": route: ";
    QVERIFY(lines.last().startsWith(prefix));

    const QHash<QString, QChar> letters{{"Up", u'U'}, {"Down", u'D'}, {"Left", u'L'}, {"Right", u'R'}};
    QString keys;
    for (const QString &name : lines.last().mid(prefix.size()).split(u' ')) {
        QVERIFY2(letters.contains(name), qPrintable(name));
        keys += letters.value(name);
    }
    const LevelMap map(LevelTable::slot(3));
    const Playthrough playthrough = LevelSolver::play(map, keys);
    QVERIFY(playthrough.leftThroughExit);
    QCOMPARE(playthrough.keysUsed, int(keys.size()));
}

void TestLevelTool::unwinnableFileFails_data()
{
    QTest::addColumn<QStringList>("header");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("finding");
    QTest::addColumn<int>("status");
    const int failed = LevelTool::Failed;
    QTest::newRow("walled-in diamond") << Header << QStringList{"1111111", "1004171", "1111111"}
                                       << "the diamond in row 2, column 6 cannot be reached" << failed;
    QTest::newRow("no exit") << Header << QStringList{"11111", "10301", "11111"} << "the level has no exit" << failed;
    QTest::newRow("too little time")
        << QStringList{"480", "0", "0", "2"} << QStringList{"1" + QString(28, u'0') + "41"}
        << "cannot be won at 6 moves a second" << failed;
    // Nineteen moves, the last more than 3 seconds in at six a second, once
    // the panel has written the time back as 3.
    QTest::newRow("a hair over 3 seconds")
        << QStringList{"480", "0", "0", "3.0000000000000004"} << QStringList{"1" + QString(19, u'0') + "41"}
        << "cannot be won at 6 moves a second" << failed;
    QTest::newRow("start between cells") << QStringList{"490", "480", "0", "30"} << QStringList{"1041"}
                                         << "the start is not on a cell of the map, so the figure cannot move"
                                         << failed;
    QTest::newRow("more to collect than the search takes on")
        << Header << QStringList(17, QString(25, u'3') + u'4')
        << "the map holds too many things to collect to look for a route" << int(LevelTool::Undecided);
}

void TestLevelTool::unwinnableFileFails()
{
    QFETCH(QStringList, header);
    QFETCH(QStringList, rows);
    QFETCH(QString, finding);
    QFETCH(int, status);
    const QString path = write("bad.lvl", levelFile(header, rows));
    QCOMPARE(run({"check", "--route", path}), status);
    QVERIFY2(m_out.contains(finding), qPrintable(m_out));
    QVERIFY(!m_out.contains(": winnable"));
    QVERIFY(!m_out.contains(": route: "));
}

void TestLevelTool::oneBadFileFailsTheRun()
{
    const QString good = write("good.lvl", levelFile(Header, {"11111", "10341", "11111"}));
    const QString bad = write("bad.lvl", levelFile(Header, {"11111", "10301", "11111"}));
    QCOMPARE(run({"check", good, bad}), int(LevelTool::Failed));
    QVERIFY(m_out.contains(good + ": route of 2 moves (the shortest), no clock"));
    QVERIFY(m_out.contains(bad + ": cannot be won"));
    QCOMPARE(run({"check", good}), int(LevelTool::Done));
}

void TestLevelTool::codesNamingNoTileAreWalls()
{
    const QString path = write("odd.lvl", levelFile(Header, {"11111", "10341", "1x911", "11111"}));
    QCOMPARE(run({"check", path}), int(LevelTool::Done));
    QVERIFY(m_out.contains(path + ": line 7: \"x\" at column 2 names no tile; the figure meets it as a wall\n"));
    QVERIFY(m_out.contains(path + ": line 7: \"91\" at column 3 names no tile; the figure meets it as a wall\n"));
    QVERIFY(m_out.contains(path + ": the one banknote or diamond can be reached, and the exit\n"));
}

void TestLevelTool::malformedFileGetsOneLine_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("line");
    const QStringList map{"1111", "1041", "1111"};
    QTest::newRow("start X is a word") << levelFile({"left", "480", "0", "30"}, map)
                                       << "line 1: the start X \"left\" is not a whole number of twips";
    QTest::newRow("start Y past 16 bits") << levelFile({"480", "40000", "0", "30"}, map)
                                          << "line 2: the start Y \"40000\" is out of range";
    QTest::newRow("colour past 24 bits") << levelFile({"480", "480", "16777216", "30"}, map)
                                         << "line 3: the colour \"16777216\" is out of range";
    QTest::newRow("colour is a word") << levelFile({"480", "480", "red", "30"}, map)
                                      << "line 3: the colour \"red\" is not a colour value";
    QTest::newRow("time is a word") << levelFile({"480", "480", "0", "soon"}, map)
                                    << "line 4: the time limit \"soon\" is not a number";
    QTest::newRow("header only") << levelFile(Header, {}) << "lines 5 to 21: the map holds no codes";
    QTest::newRow("empty file") << QByteArray() << "line 1: the start X \"\" is not a whole number of twips";
    QTest::newRow("binary junk") << QByteArray("\x7f" "ELF\x02\x01\x01\0\n\0\r", 11)
                                 << "line 1: the start X \"\\x7fELF\\x02\\x01\\x01\\x00\\x0a\\x00\" is not a whole "
                                    "number of twips";
    QTest::newRow("long line") << levelFile({QString(100, u'9'), "480", "0", "30"}, map)
                               << "line 1: the start X \"" + QString(40, u'9') + "...\" is out of range";
}

void TestLevelTool::malformedFileGetsOneLine()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, line);
    const QString path = write("odd.lvl", bytes);
    QCOMPARE(run({"check", path}), int(LevelTool::Failed));
    QCOMPARE(m_out, path + ": " + line + "; cannot be won\n");

    QCOMPARE(run({"check", m_dir->filePath("missing.lvl")}), int(LevelTool::Failed));
    QCOMPARE(m_out, m_dir->filePath("missing.lvl") + ": cannot be read; cannot be won\n");
}

void TestLevelTool::checkRefusesWhatTheGameRefuses_data()
{
    QTest::addColumn<QStringList>("header");
    const QStringList map{"1111", "1041", "1111"};
    QTest::newRow("as the editor writes") << Header;
    QTest::newRow("spaces round numbers") << QStringList{" 480 ", "480", " 255", "30 "};
    QTest::newRow("negative start") << QStringList{"-480", "480", "0", "30"};
    QTest::newRow("lowest 16-bit start") << QStringList{"-32768", "0", "0", "30"};
    QTest::newRow("past 16 bits") << QStringList{"32768", "0", "0", "30"};
    QTest::newRow("start with a point") << QStringList{"480.0", "480", "0", "30"};
    QTest::newRow("negative colour") << QStringList{"480", "480", "-1", "30"};
    QTest::newRow("white") << QStringList{"480", "480", "16777215", "30"};
    QTest::newRow("fractional time") << QStringList{"480", "480", "0", "2.5"};
    QTest::newRow("infinite time") << QStringList{"480", "480", "0", "inf"};
    QTest::newRow("empty time") << QStringList{"480", "480", "0", ""};
}

void TestLevelTool::checkRefusesWhatTheGameRefuses()
{
    QFETCH(QStringList, header);
    const QStringList rows{"1111", "1041", "1111"};
    const QString path = write("level.lvl", levelFile(header, rows));
    const bool gameRefuses = !LevelRecord::playProblem(*LevelFile::read(path)).isEmpty();
    const QStringList report = LevelCheck(path).report(false);
    const bool toolRefuses = report.size() == 1 && report.first().startsWith(QStringLiteral("line"));
    QCOMPARE(toolRefuses, gameRefuses);
}

void TestLevelTool::difficultyFigures_data()
{
    QTest::addColumn<QStringList>("header");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("figures");
    // Eleven keys: the first starts the clock, and the last falls 10/6
    // seconds later at 6 a second, once the clock has ticked once: 9 of the
    // 10 seconds are left.
    QTest::newRow("corridor") << QStringList{"480", "480", "0", "10"} << QStringList{"11111111111111", "10003000000041", "11111111111111"}
                              << "difficulty: 1.00 moves a second, 90 % of the time to spare, no dead end";
    QTest::newRow("no time limit") << QStringList{"480", "480", "0", "0"} << QStringList{"11111", "10341", "11111"}
                                   << "difficulty: 0.00 moves a second, no time limit, no dead end";
    // Sixteen moves: up the stem, into the left arm and out, into the right
    // arm and out, down again and out.
    QTest::newRow("two arms") << QStringList{"480", "1440", "0", "30"}
                              << QStringList{"1111111", "1300031", "1110111", "1000041", "1111111"}
                              << "difficulty: 0.50 moves a second, 93 % of the time to spare, 2 dead ends";
}

void TestLevelTool::difficultyFigures()
{
    QFETCH(QStringList, header);
    QFETCH(QStringList, rows);
    QFETCH(QString, figures);
    const QString path = write("level.lvl", levelFile(header, rows));
    run({"check", path});
    QVERIFY2(m_out.contains(path + ": " + figures + "\n"), qPrintable(m_out));
}

void TestLevelTool::curveOfTheBuiltInLevels()
{
    QCOMPARE(run({"curve"}), int(LevelTool::Done));
    const QStringList lines = m_out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), LevelTable::BuiltInLevels + 2);
    QVERIFY(lines.first().startsWith(QStringLiteral("level ")));
    for (int level = 1; level <= LevelTable::BuiltInLevels; ++level) {
        const LevelMap map(LevelTable::slot(level - 1));
        const auto route = LevelSolver(map).solve();
        QVERIFY(route);
        const QStringList columns = lines.at(level).split(u' ', Qt::SkipEmptyParts);
        QCOMPARE(columns.at(1), QString::number(level));
        QCOMPARE(columns.at(2), QString::number(route->keys.size()));
        QCOMPARE(columns.at(3), QString::number(route->lowerBound));
        QCOMPARE(columns.at(4), QString::number(route->pace, 'f', 2));
    }
    QCOMPARE(lines.last(), QStringLiteral("The pace rises from level to level."));
}

void TestLevelTool::curveNamesWhereItFalls()
{
    // The second level is far easier than the first, and the first the
    // hardest: both are named, names as they stand, and the run fails.
    write("a.lvl", levelFile({"480", "480", "0", "3"}, {"1111111111111", "1000000300041", "1111111111111"}));
    write("b%1.lvl", levelFile({"480", "480", "0", "30"}, {"1111111111111", "1000000300041", "1111111111111"}));
    write("notes.txt", "not a level");
    QCOMPARE(run({"curve", m_dir->path()}), int(LevelTool::Failed));
    const QStringList lines = m_out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 5);
    QVERIFY(lines.at(1).startsWith(QStringLiteral("a.lvl ")));
    QVERIFY(lines.at(2).startsWith(QStringLiteral("b%1.lvl ")));
    QVERIFY2(lines.at(3).startsWith(QStringLiteral("b%1.lvl is ")) && lines.at(3).endsWith(" moves a second easier than the level before it"),
             qPrintable(lines.at(3)));
    QCOMPARE(lines.at(4), QStringLiteral("a.lvl is harder than the last level"));

    QCOMPARE(run({"curve", m_dir->filePath("missing")}), int(LevelTool::Failed));
    QVERIFY(m_out.isEmpty());
    QVERIFY(!m_err.isEmpty());
}

void TestLevelTool::wrongCommandsGetTheUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("nothing") << QStringList{};
    QTest::newRow("check without files") << QStringList{"check"};
    QTest::newRow("check with only the route switch") << QStringList{"check", "--route"};
    QTest::newRow("export without a directory") << QStringList{"export"};
    QTest::newRow("unknown command") << QStringList{"solve", "level01.lvl"};
    QTest::newRow("curve of two directories") << QStringList{"curve", "one", "two"};
}

void TestLevelTool::wrongCommandsGetTheUsage()
{
    QFETCH(QStringList, arguments);
    QCOMPARE(run(arguments), int(LevelTool::Usage));
    QVERIFY(m_err.startsWith(QStringLiteral("Usage: veltrano-levels")));
    QVERIFY(m_out.isEmpty());
}

QTEST_APPLESS_MAIN(TestLevelTool)
void TestLevelTool::replayTellsHowTheRunEnded_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("line");
    QTest::newRow("won") << QByteArray("keys 3\n0 *\n700 R\n2500 R\n") << "11111 10341 11111"
                         << "won, 28 seconds left, 100 points";
    // The tick at the very moment of the last key comes first.
    QTest::newRow("too late") << QByteArray("keys 2\n0 R\n30000 R\n") << "11111 10341 11111"
                              << "lost: the time ran out after 1 of its 2 keys";
    QTest::newRow("short of the exit") << QByteArray("keys 1\n0 R\n") << "11111 10341 11111"
                                       << "lost: the run ends before the exit, with 0 banknotes and diamonds left";
    QTest::newRow("another level") << QByteArray("keys 1\n0 R\n") << "11111 10431 11111"
                                   << "lost: the run was played on another level";
    QTest::newRow("damaged") << QByteArray("keys 2\n0 R\n") << "11111 10341 11111"
                             << "lost: the run cannot be read";
}

void TestLevelTool::replayTellsHowTheRunEnded()
{
    QFETCH(QByteArray, keys);
    QFETCH(QString, rows);
    QFETCH(QString, line);
    const QString level = write("Corridor.lvl", levelFile(Header, {"11111", "10341", "11111"}));
    const QByteArray played = ("480\n480\n12632256\n30\n" + rows.replace(u' ', u'\n') + u'\n').toLatin1();
    const QString run = write("BestRun01.Log", "Veltrano run 1\nlevel 7\n" + played + keys);
    QCOMPARE(this->run({"replay", level, run}), line.startsWith(u"won") ? 0 : 1);
    QCOMPARE(m_out, line + u'\n');
}

#include "tst_leveltool.moc"
