// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelTable.h"
#include "TileCodes.h"
#include "TileRule.h"

#include <QTest>

// Cutting map rows into codes and the facts of the worked first level.
class TestLevelRows : public QObject
{
    Q_OBJECT

private slots:
    void cutRowGivesOneCodePerColumn_data();
    void cutRowGivesOneCodePerColumn();
    void codeTestsAgreeWithTheTileSet_data();
    void codeTestsAgreeWithTheTileSet();
    void levelOneMatchesItsTable();
    void customSlotStartsEmpty();
};

void TestLevelRows::cutRowGivesOneCodePerColumn_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("level 1, second row") << "1013000000000001"
                                         << QStringList{"1", "0", "1", "3", "0", "0", "0", "0",
                                                        "0", "0", "0", "0", "0", "0", "0", "1"};
    QTest::newRow("level 20, second row") << "85700078570078500785"
                                          << QStringList{"85", "7", "0", "0", "0", "7", "85", "7",
                                                         "0", "0", "7", "85", "0", "0", "7", "85"};
    QTest::newRow("a 0 after an 8 belongs to it") << "82807000000082000082"
                                                  << QStringList{"82", "80", "7", "0", "0", "0", "0", "0",
                                                                 "0", "0", "82", "0", "0", "0", "0", "82"};
    QTest::newRow("level 13, seventeen codes")
        << "8100000000000000810"
        << QStringList{"81", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "81", "0"};
    QTest::newRow("lone 8 at the end") << "18" << QStringList{"1", "8"};
    QTest::newRow("empty row") << "" << QStringList{};
}

void TestLevelRows::cutRowGivesOneCodePerColumn()
{
    QFETCH(QString, row);
    QFETCH(QStringList, codes);
    QCOMPARE(TileCodes::cutRow(row), codes);
}

void TestLevelRows::codeTestsAgreeWithTheTileSet_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("known");
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("hasPicture");
    QTest::newRow("floor") << "0" << true << 0 << false;
    QTest::newRow("banknote") << "3" << true << 3 << true;
    QTest::newRow("clock") << "84" << true << 84 << true;
    QTest::newRow("the only ninety") << "90" << true << 90 << true;
    QTest::newRow("89 does not exist") << "89" << false << 1 << false;
    QTest::newRow("91 does not exist") << "91" << false << 1 << false;
    QTest::newRow("lone 8") << "8" << false << 1 << false;
    QTest::newRow("a letter blocks") << "a" << false << 1 << false;
    QTest::newRow("leading zero") << "03" << false << 1 << false;
}

void TestLevelRows::codeTestsAgreeWithTheTileSet()
{
    QFETCH(QString, code);
    QFETCH(bool, known);
    QFETCH(int, number);
    QFETCH(bool, hasPicture);
    QCOMPARE(TileCodes::isKnown(code), known);
    QCOMPARE(TileCodes::number(code), number);
    QCOMPARE(!TileCodes::picturePath(code).isEmpty(), hasPicture);
}

void TestLevelRows::levelOneMatchesItsTable()
{
    const LevelRecord level = LevelTable::slot(0);
    QCOMPARE(level.name, QStringLiteral("Level1"));
    QCOMPARE(level.time, QStringLiteral("30"));
    QCOMPARE(level.color, std::optional<quint32>(16711680));
    QCOMPARE(level.rows.size(), 16);
    int cash = 0;
    QList<QPoint> exits;
    for (int row = 0; row < level.rows.size(); ++row) {
        const QStringList codes = TileCodes::cutRow(level.rows.at(row));
        QCOMPARE(codes.size(), 16);
        for (int column = 0; column < codes.size(); ++column) {
            const int code = TileCodes::number(codes.at(column));
            cash += TileRule::of(code).cash;
            if (code == TileCodes::Exit)
                exits.append(QPoint(column, row));
        }
    }
    QCOMPARE(cash, 14);
    QCOMPARE(exits, QList<QPoint>{QPoint(3, 14)});
    QCOMPARE(TileCodes::cutRow(level.rows.at(1)).at(1), QStringLiteral("0"));
}

void TestLevelRows::customSlotStartsEmpty()
{
    const LevelRecord custom = LevelTable::slot(LevelTable::CustomSlot);
    QCOMPARE(custom.name, QStringLiteral("Custom"));
    QCOMPARE(custom.time, QStringLiteral("20"));
    QCOMPARE(custom.color, std::optional<quint32>(LevelTable::rgb(192, 192, 192)));
    QCOMPARE(custom.locationX, QStringLiteral("480"));
    QVERIFY(custom.rows.isEmpty());
}

QTEST_APPLESS_MAIN(TestLevelRows)
#include "tst_levelrows.moc"
