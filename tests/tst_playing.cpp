// SPDX-License-Identifier: GPL-3.0-or-later
#include "BestResults.h"
#include "EndPanel.h"
#include "Forms.h"
#include "Game_Screen.h"
#include "LevelCheck.h"
#include "LevelMap.h"
#include "LevelReplay.h"
#include "LevelRound.h"
#include "LevelSolver.h"
#include "MessageBox.h"
#include "Pictures.h"
#include "PlayCover.h"
#include "ScratchDir.h"
#include "StepTimer.h"
#include "VirtualKey.h"

#include <QAccessible>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

constexpr int Left = VirtualKey::Left;
constexpr int Up = VirtualKey::Up;
constexpr int Right = VirtualKey::Right;
constexpr int Down = VirtualKey::Down;

// A hand-made level for the custom slot, written as its map rows; the figure
// starts at column 1, row 1 unless told otherwise.
LevelRecord board(const QStringList &rows, const QString &time = QStringLiteral("30"), int left = 480,
                  int top = 480)
{
    return LevelRecord{QStringLiteral("Custom"), time, LevelTable::rgb(0, 0, 0), QString::number(left),
                       QString::number(top), rows};
}

} // namespace

// Playing a level: moves, tiles, the clock and the lives.
class TestPlaying : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void eachTileActsOnTheStep_data();
    void eachTileActsOnTheStep();
    void blockedMovesOnlyTurnTheFigure_data();
    void blockedMovesOnlyTurnTheFigure();
    void anyKeyStartsTheClockAndShiftIsIgnored();
    void lightBulbTurnsTheFloorWhite();
    void exitOpensWhenTheCashIsGone();
    void exitBuildsTheNextLevel_data();
    void exitBuildsTheNextLevel();
    void exitOfAFileLevelBringsBackTheList();
    void seventeenthCodeLiesOutsideTheMap();
    void timeOverCostsALife();
    void fourthTimeOverStartsOver();
    void fourthTimeOverOnAFileLevelClosesTheScreen();
    void onlyAnExactZeroEndsTheTime_data();
    void onlyAnExactZeroEndsTheTime();
    void levelOnePlaysToLevelTwoByKeys();
    void pauseHoldsTheClockUntilTheNextKey_data();
    void pauseHoldsTheClockUntilTheNextKey();
    void pauseKeepsWhatWasUsedOfTheSecond_data();
    void pauseKeepsWhatWasUsedOfTheSecond();
    void exitTellsHowTheLevelWent_data();
    void exitTellsHowTheLevelWent();
    void levelTwentyEndsWithTheDisplay();
    void closingTheScreenEndsTheDisplay();
    void everyLevelReplaysToItsBest_data();
    void everyLevelReplaysToItsBest();

private:
    // Ticks the clock until its time is over once more.
    void runOutOfTime();
    void playCustom(const LevelRecord &level, const QString &label = QStringLiteral("File"));

    std::unique_ptr<ScratchDir> m_dir;
    std::unique_ptr<Forms> m_forms;
    Game_Screen *m_screen = nullptr;
    QList<MessageBox::Request> m_messages;
};

void TestPlaying::init()
{
    m_dir = std::make_unique<ScratchDir>();
    m_forms = std::make_unique<Forms>();
    m_screen = m_forms->get<Game_Screen>();
    m_messages.clear();
    MessageBox::setResponder([this](const MessageBox::Request &request) {
        m_messages.append(request);
        return MessageBox::Answer::Ok;
    });
}

void TestPlaying::cleanup()
{
    MessageBox::setResponder({});
    m_forms.reset();
    m_dir.reset();
}

void TestPlaying::playCustom(const LevelRecord &level, const QString &label)
{
    m_screen->setCustomLevel(level);
    m_screen->Label2->setText(label);
    m_screen->loadscreen(LevelTable::CustomSlot);
}

void TestPlaying::runOutOfTime()
{
    const qsizetype before = m_messages.size();
    for (int tick = 0; tick < 1000 && m_messages.size() == before; ++tick)
        m_screen->Timer1_Timer();
    QCOMPARE(m_messages.size(), before + 1);
}

void TestPlaying::eachTileActsOnTheStep_data()
{
    QTest::addColumn<QString>("tile");
    QTest::addColumn<QString>("score");
    QTest::addColumn<QString>("time");
    QTest::newRow("floor") << "0" << "0" << "3";
    QTest::newRow("banknote") << "3" << "100" << "3";
    QTest::newRow("diamond") << "7" << "500" << "3";
    QTest::newRow("clock") << "84" << "0" << "18";
}

void TestPlaying::eachTileActsOnTheStep()
{
    QFETCH(QString, tile);
    QFETCH(QString, score);
    QFETCH(QString, time);
    // Five more collectibles wait on the bottom rows, so the cash is 5 once
    // whatever lay to the right of the figure is taken.
    const QString cash = QStringLiteral("5");
    playCustom(board({"1111", "10" + tile + "1", "1331", "3331"}, "3"));
    m_screen->Form_KeyDown(Right, 0);
    QCOMPARE(m_screen->Image3().left, 960);
    QCOMPARE(m_screen->Cash->text(), cash);
    QCOMPARE(m_screen->Label4->text(), score);
    QCOMPARE(m_screen->Label5->text(), time);
    // The cell is floor from now on: leaving and coming back changes nothing.
    QCOMPARE(m_screen->Check_Ex(960, 480), 0);
    QCOMPARE(m_screen->TileIndex(), 6);
    QVERIFY(m_screen->Image1().at(6).picture.isNull());
    m_screen->Form_KeyDown(Left, 0);
    m_screen->Form_KeyDown(Right, 0);
    QCOMPARE(m_screen->Cash->text(), cash);
    QCOMPARE(m_screen->Label4->text(), score);
}

void TestPlaying::blockedMovesOnlyTurnTheFigure_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("facing");
    QTest::addColumn<QString>("row");
    QTest::newRow("wall above") << Up << int(Arrow::Up) << "";
    QTest::newRow("palm tree to the right") << Right << int(Arrow::Right) << "2";
    QTest::newRow("boulder to the right") << Right << int(Arrow::Right) << "80";
    QTest::newRow("code that names no tile") << Right << int(Arrow::Right) << "89";
    QTest::newRow("a letter") << Right << int(Arrow::Right) << "x";
    QTest::newRow("past the end of a short row") << Right << int(Arrow::Right) << "END";
    QTest::newRow("off the left edge") << Left << int(Arrow::Left) << "";
}

void TestPlaying::blockedMovesOnlyTurnTheFigure()
{
    QFETCH(int, key);
    QFETCH(int, facing);
    QFETCH(QString, row);
    // The figure starts at column 0, row 1, with a floor row above it when
    // the test is about the left edge.
    const QString right = row == u"END" ? QString() : row;
    playCustom(board({"1111", "0" + right, "1111"}, "30", 0, 480));
    QVERIFY(!m_screen->Timer1->isActive());
    m_screen->Form_KeyDown(key, 0);
    QVERIFY(m_screen->Timer1->isActive());
    QCOMPARE(m_screen->Image3().left, 0);
    QCOMPARE(m_screen->Image3().top, 480);
    QCOMPARE(m_screen->Image3().picture.toImage(), Pictures::figure(Arrow::Direction(facing)).toImage());
}

void TestPlaying::anyKeyStartsTheClockAndShiftIsIgnored()
{
    QTest::keyClick(m_screen, Qt::Key_A);
    QVERIFY(m_screen->Timer1->isActive());
    QCOMPARE(m_screen->Image3().left, 480);
    QCOMPARE(m_screen->Image3().top, 480);
    QTest::keyClick(m_screen, Qt::Key_Down, Qt::ShiftModifier | Qt::ControlModifier);
    QCOMPARE(m_screen->Image3().top, 960);
}

void TestPlaying::lightBulbTurnsTheFloorWhite()
{
    playCustom(board({"1111", "1051", "1111"}));
    QCOMPARE(m_screen->backColor(), QColor(Qt::black));
    m_screen->Form_KeyDown(Right, 0);
    QCOMPARE(m_screen->Image3().left, 960);
    QCOMPARE(m_screen->backColor(), QColor(Qt::white));
    QCOMPARE(m_screen->Check_Ex(960, 480), 0);
}

void TestPlaying::exitOpensWhenTheCashIsGone()
{
    // A banknote waits behind the exit, so the exit stays shut.
    playCustom(board({"11111", "10431", "11111"}));
    QSignalSpy unloaded(m_screen, &Form::unloaded);
    QCOMPARE(m_screen->Cash->text(), QStringLiteral("1"));
    m_screen->Form_KeyDown(Right, 0);
    QCOMPARE(m_screen->Image3().left, 480);
    QCOMPARE(m_screen->Image3().picture.toImage(), Pictures::figure(Arrow::Right).toImage());
    QCOMPARE(unloaded.count(), 0);
    playCustom(board({"1111", "1041", "1111"}));
    QCOMPARE(m_screen->Cash->text(), QStringLiteral("0"));
    m_screen->Form_KeyDown(Right, 0);
    QTRY_COMPARE(unloaded.count(), 1);
}

void TestPlaying::exitBuildsTheNextLevel_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("next");
    QTest::newRow("level 7 pushed down") << "7" << Down << "8";
    QTest::newRow("level 7 pushed left") << "7" << Left << "8";
    QTest::newRow("level 19") << "19" << Right << "20";
}

void TestPlaying::exitBuildsTheNextLevel()
{
    QFETCH(QString, label);
    QFETCH(int, key);
    QFETCH(QString, next);
    // An exit on every side of the figure.
    playCustom(board({"040", "404", "040"}), label);
    m_screen->Form_KeyDown(key, 0);
    QCOMPARE(m_screen->Label2->text(), next);
    const LevelRecord &level = m_screen->level(next.toInt() - 1);
    QCOMPARE(m_screen->Image3().left, level.locationX.toInt());
    QCOMPARE(m_screen->Image3().top, level.locationY.toInt());
    QCOMPARE(m_screen->Image3().picture.toImage(), Pictures::figure(Arrow::Down).toImage());
    QCOMPARE(m_screen->Label5->text(), level.time);
    QVERIFY(!m_screen->Timer1->isActive());
}

void TestPlaying::exitOfAFileLevelBringsBackTheList()
{
    playCustom(board({"1111", "1041", "1111"}));
    m_screen->playFile(m_screen->level(LevelTable::CustomSlot), QStringLiteral("Corridor"));
    const QPointer<Game_Screen> screen(m_screen);
    QSignalSpy reported(m_screen, &Game_Screen::playReported);
    m_screen->Form_KeyDown(Right, 0);
    // The banner first, keys doing nothing under it; then the list.
    QCOMPARE(m_screen->cover()->banner(), QStringLiteral("Corridor done\n0 points, 30 seconds left"));
    QCOMPARE(reported.count(), 1);
    m_screen->Form_KeyDown(Left, 0);
    QCOMPARE(m_screen->Image3().left, 480);
    QTRY_VERIFY(!m_forms->isLoaded(FormId::GameScreen));
    QVERIFY(m_forms->isLoaded(FormId::LoadFiles));
    QVERIFY(m_forms->loaded(FormId::LoadFiles)->isVisible());
    QVERIFY(!m_forms->isLoaded(FormId::PlayGame));
    QTRY_VERIFY(!screen);
}

void TestPlaying::seventeenthCodeLiesOutsideTheMap()
{
    playCustom(board({"1111111111111111", "1000000000000001", "8100000000000000810"}));
    QCOMPARE(m_screen->Image1().size(), std::size_t(16 + 16 + 17));
    QCOMPARE(m_screen->Check_Ex(7680, 960), 0);
    QCOMPARE(m_screen->TileIndex(), 48);
    QCOMPARE(m_screen->Check_Ex(7200, 960), 81);
    QCOMPARE(m_screen->Check_Ex(7680, 480), 1);
    QCOMPARE(m_screen->TileIndex(), 1000);
    QCOMPARE(m_screen->Check_Ex(0, 0), 1);
    QCOMPARE(m_screen->TileIndex(), 0);
    QCOMPARE(m_screen->Check_Ex(240, 480), 1);
    QCOMPARE(m_screen->TileIndex(), 1000);
}

void TestPlaying::timeOverCostsALife()
{
    QTest::keyClick(m_screen, Qt::Key_Space);
    for (int tick = 0; tick < 29; ++tick)
        m_screen->Timer1_Timer();
    QCOMPARE(m_screen->Label5->text(), QStringLiteral("1"));
    QVERIFY(m_messages.isEmpty());
    m_screen->Form_KeyDown(Down, 0);
    m_screen->Timer1_Timer();
    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages.at(0).text, QStringLiteral("TIME OVER, Retry..."));
    QCOMPARE(m_messages.at(0).title, QStringLiteral("Veltrano"));
    QCOMPARE(m_screen->Lives_Number->text(), QStringLiteral("2"));
    QVERIFY(m_screen->Lives[2]->isHidden());
    QVERIFY(!m_screen->Lives[1]->isHidden());
    QCOMPARE(m_screen->Label5->text(), QStringLiteral("30"));
    QCOMPARE(m_screen->Image3().top, 480);
    QVERIFY(!m_screen->Timer1->isActive());
}

void TestPlaying::fourthTimeOverStartsOver()
{
    m_screen->Label2->setText("3");
    m_screen->loadscreen(2);
    // Some points on the way, which a new game keeps.
    const QString keys = LevelSolver(LevelMap(m_screen->level(2))).solve()->keys;
    for (qsizetype key = 0; key < keys.size() && m_screen->Label4->text() == u"0"; ++key)
        m_screen->Form_KeyDown(Arrow::keyCode(*Arrow::ofLetter(keys.at(key))), 0);
    const QString score = m_screen->Label4->text();
    QVERIFY(score != u"0");
    for (int overs = 0; overs < 4; ++overs)
        runOutOfTime();
    QCOMPARE(m_messages.size(), 4);
    QCOMPARE(m_messages.last().text, QStringLiteral("You'r Finished !!!"));
    QCOMPARE(m_screen->Label2->text(), QStringLiteral("1"));
    QCOMPARE(m_screen->Lives_Number->text(), QStringLiteral("3"));
    for (const QLabel *icon : m_screen->Lives)
        QVERIFY(!icon->isHidden());
    QCOMPARE(m_screen->Label4->text(), score);
    QCOMPARE(m_screen->Cash->text(), QStringLiteral("14"));
}

void TestPlaying::fourthTimeOverOnAFileLevelClosesTheScreen()
{
    playCustom(board({"1111", "1031", "1111"}, "2"));
    m_screen->Form_KeyDown(Right, 0);
    QCOMPARE(m_screen->Cash->text(), QStringLiteral("0"));
    // A retry of a file level rebuilds the custom slot, not Label2 - 1.
    runOutOfTime();
    QCOMPARE(m_screen->Cash->text(), QStringLiteral("1"));
    QCOMPARE(m_screen->Label5->text(), QStringLiteral("2"));
    for (int overs = 1; overs < 4; ++overs)
        runOutOfTime();
    QCOMPARE(m_messages.last().text, QStringLiteral("You'r Finished !!!"));
    QVERIFY(!m_forms->isLoaded(FormId::GameScreen));
    QVERIFY(m_forms->isLoaded(FormId::LoadFiles));
}

void TestPlaying::onlyAnExactZeroEndsTheTime_data()
{
    // The ticks until the time is over; 0 where it never is.
    QTest::addColumn<QString>("time");
    QTest::addColumn<int>("ticks");
    QTest::newRow("3") << "3" << 3;
    QTest::newRow("1") << "1" << 1;
    QTest::newRow("0 counts on below zero") << "0" << 0;
    QTest::newRow("-5") << "-5" << 0;
    QTest::newRow("1.5 never lands on 0") << "1.5" << 0;
    // The panel writes the count back with 15 digits, which round these
    // hairs off a whole number away at the first tick.
    QTest::newRow("3.0000000000000004") << "3.0000000000000004" << 3;
    QTest::newRow("2.000000000000001") << "2.000000000000001" << 2;
}

void TestPlaying::onlyAnExactZeroEndsTheTime()
{
    // The play screen and the level check, as F6 and the designers' tool make
    // it, judge the same level by the same clock.
    QFETCH(QString, time);
    QFETCH(int, ticks);
    const QStringList rows{"11111", "10341", "11111"};
    const LevelCheck check = LevelCheck::ofLines(QStringList{"480", "480", "0", time} + rows);
    QVERIFY(check.route());
    QCOMPARE(check.route()->pace == 0, ticks == 0);

    playCustom(board(rows, time));
    for (int tick = 1; tick <= std::max(ticks, 10); ++tick) {
        m_screen->Timer1_Timer();
        if (tick < ticks || ticks == 0) {
            QVERIFY(m_messages.isEmpty());
            QCOMPARE(m_screen->Label5->text().toDouble(), time.toDouble() - tick);
        }
        if (tick == ticks)
            break;
    }
    if (ticks == 0)
        return;
    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages.at(0).text, QStringLiteral("TIME OVER, Retry..."));
    QCOMPARE(m_screen->Lives_Number->text(), QStringLiteral("2"));
    // The retry starts with the level's own time again.
    QCOMPARE(m_screen->Label5->text(), time);
}

void TestPlaying::levelOnePlaysToLevelTwoByKeys()
{
    // Every banknote of level 1, then the exit, in 147 presses.
    const QString route = "DDRRRRRDULLLLLDDDRRRRUDDURRDUUDRRRRRRRDDDLLLDDDLDULUUURUDLLLLUDRRRDDDRDDLLLLLLRRRRRRUURUUURRR"
                          "UUUUUUUULLLLLLLLLLLRRRRRRRRRRRDDDDDDDDDDDDDLLLLLLLLLLL";
    const QHash<QChar, Qt::Key> keys{{u'D', Qt::Key_Down}, {u'U', Qt::Key_Up}, {u'R', Qt::Key_Right},
                                     {u'L', Qt::Key_Left}};
    m_screen->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_screen));
    for (const QChar move : route)
        QTest::keyClick(m_screen, keys.value(move));
    QCOMPARE(m_screen->Label2->text(), QStringLiteral("2"));
    QCOMPARE(m_screen->Label4->text(), QStringLiteral("1400"));
    QCOMPARE(m_dir->read("LGT.Log"), QByteArray(" 125 \r\n"));
    QVERIFY(m_messages.isEmpty());
    QVERIFY(m_screen->cover()->banner().startsWith("Level 1 done\n1400 points, "));
    QVERIFY(m_screen->cover()->isVisible());
    QCOMPARE(BestResults::of(1)->points, 1400);
    QTRY_VERIFY_WITH_TIMEOUT(m_screen->cover()->isHidden(), PlayCover::BannerMilliseconds * 2);
}

void TestPlaying::pauseHoldsTheClockUntilTheNextKey_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("clockRunning");
    QTest::addColumn<bool>("pauses");
    // The key that ends the pause: an arrow plays on, Q leaves the game.
    QTest::addColumn<int>("then");
    QTest::newRow("Escape") << "Escape" << true << true << int(Qt::Key_Right);
    QTest::newRow("Pause") << "Pause" << true << true << int(Qt::Key_Right);
    QTest::newRow("Escape before the first key") << "Escape" << false << true << int(Qt::Key_Right);
    QTest::newRow("another application") << "away" << true << true << int(Qt::Key_Right);
    QTest::newRow("minimised") << "minimised" << true << true << int(Qt::Key_Right);
    QTest::newRow("away before the first key") << "away" << false << false << int(Qt::Key_Right);
    QTest::newRow("Escape, then Q") << "Escape" << true << true << int(Qt::Key_Q);
}

void TestPlaying::pauseHoldsTheClockUntilTheNextKey()
{
    QFETCH(QString, how);
    QFETCH(bool, clockRunning);
    QFETCH(bool, pauses);
    QFETCH(int, then);
    m_screen->show();
    // Sound on or off is no key of the game's: the clock stays as it was.
    const QString sound = m_screen->SoundState->text();
    QTest::keyClick(m_screen, Qt::Key_M);
    QVERIFY(m_screen->SoundState->text() != sound);
    QVERIFY(!m_screen->Timer1->isActive());
    if (clockRunning)
        QTest::keyClick(m_screen, Qt::Key_Down);
    const QStringList panel{m_screen->Label4->text(), m_screen->Cash->text(), m_screen->Label5->text()};
    if (how == u"Escape" || how == u"Pause") {
        QTest::keyClick(m_screen, how == u"Escape" ? Qt::Key_Escape : Qt::Key_Pause);
    } else if (how == u"away") {
        QEvent away(QEvent::WindowDeactivate);
        QApplication::sendEvent(m_screen, &away);
    } else {
        m_screen->showMinimized();
        m_screen->showNormal();
    }
    QCOMPARE(m_screen->isPaused(), pauses);
    QCOMPARE(m_screen->cover()->isVisible(), pauses);
    QCOMPARE(m_screen->Timer1->isActive(), clockRunning && !pauses);
    QCOMPARE((QStringList{m_screen->Label4->text(), m_screen->Cash->text(), m_screen->Label5->text()}), panel);
    if (!pauses)
        return;
    // A lone Shift or a key repeating from before is not the player's return.
    QTest::keyClick(m_screen, Qt::Key_Shift);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(m_screen, &repeat);
    QTest::keyClick(m_screen, Qt::Key_M);
    QVERIFY(m_screen->isPaused());
    if (then == Qt::Key_Q) {
        QTest::keyClick(m_screen, Qt::Key_Q);
        QVERIFY(!m_forms->isLoaded(FormId::GameScreen));
        QVERIFY(m_forms->loaded(FormId::PlayGame)->isVisible());
        return;
    }
    QTest::keyClick(m_screen, Qt::Key(then));
    QVERIFY(!m_screen->isPaused() && m_screen->cover()->isHidden());
    QVERIFY(m_screen->Timer1->isActive());
    QCOMPARE(m_screen->Image3().picture.toImage(), Pictures::figure(Arrow::Right).toImage());
}

void TestPlaying::pauseKeepsWhatWasUsedOfTheSecond_data()
{
    // Pauses within the first second, each at this many milliseconds of play,
    // the game played on at once after each.
    QTest::addColumn<QList<qint64>>("pauses");
    QTest::addColumn<bool>("rebuilt");
    QTest::newRow("one pause") << QList<qint64>{700} << false;
    QTest::newRow("a pause every tenth") << QList<qint64>{100, 200, 300, 400, 500, 600, 700, 800, 900} << false;
    QTest::newRow("level built meanwhile") << QList<qint64>{700} << true;
}

// Pausing again and again within each second must not stop the clock: after
// a pause the next tick comes once the rest of the second has passed, then
// one every second. A new build starts on a whole second.
void TestPlaying::pauseKeepsWhatWasUsedOfTheSecond()
{
    QFETCH(QList<qint64>, pauses);
    QFETCH(bool, rebuilt);
    const LevelRound::Start start{board({"1111", "1001", "1111"}), LevelTable::FileMarker, 0, 3};
    auto round = std::make_unique<LevelRound>(start);
    round->key(Right, 0);
    for (const qint64 at : pauses) {
        round->pause(at);
        QVERIFY(!round->clock().isRunning());
        // However long the pause, no time of play passes in it.
        round->runTo(at + 60'000);
        if (rebuilt)
            round = std::make_unique<LevelRound>(start);
        round->key(Left, round->clock().now());
    }
    const qint64 firstTick = rebuilt ? round->clock().now() + 1000 : 1000;
    round->runTo(firstTick - 1);
    QCOMPARE(round->timeCaption(), QStringLiteral("30"));
    round->runTo(firstTick);
    QCOMPARE(round->timeCaption(), QStringLiteral("29"));
    round->runTo(firstTick + 1000);
    QCOMPARE(round->timeCaption(), QStringLiteral("28"));
}

void TestPlaying::exitTellsHowTheLevelWent_data()
{
    QTest::addColumn<QByteArray>("bestFile");
    QTest::addColumn<QString>("timeLeft");
    QTest::addColumn<bool>("best");
    QTest::addColumn<int>("kept");
    QTest::addColumn<bool>("setAside"); // the old file kept whole beside the new one
    const QByteArray twenty = BestResults::content({{3, {9, 100}}, {7, {20, 4000}}});
    QTest::newRow("first finish") << QByteArray() << "25" << true << 25 << false;
    QTest::newRow("faster") << twenty << "21" << true << 21 << false;
    QTest::newRow("as fast") << twenty << "20" << false << 20 << false;
    QTest::newRow("slower") << twenty << "3" << false << 20 << false;
    QTest::newRow("last line feed missing") << twenty.chopped(1) << "3" << false << 20 << false;
    QTest::newRow("an editor's empty last line") << twenty + "\n" << "21" << true << 21 << false;
    QTest::newRow("line feeds alone") << QByteArray(twenty).replace("\r", "") << "3" << false << 20 << false;
    QTest::newRow("unknown level") << twenty + "21 5 100\r\n" << "3" << false << 20 << false;
    QTest::newRow("unknown level, faster") << twenty + "21 5 100\r\n" << "25" << true << 25 << true;
    QTest::newRow("garbled line, faster") << twenty.first(25) + "7 x\r\n" + twenty.sliced(25) << "21" << true << 21 << true;
    QTest::newRow("a level twice, faster") << twenty + "7 30 4000\r\n" << "21" << true << 21 << true;
    QTest::newRow("foreign file") << QByteArray("7 99 4000\r\n") << "2" << true << 2 << true;
}

void TestPlaying::exitTellsHowTheLevelWent()
{
    QFETCH(QByteArray, bestFile);
    QFETCH(QString, timeLeft);
    QFETCH(bool, best);
    QFETCH(int, kept);
    QFETCH(bool, setAside);
    if (!bestFile.isEmpty())
        m_dir->write("Best.Log", bestFile);
    playCustom(board({"040", "404", "040"}, timeLeft), "7");
    const QByteArray progress = m_dir->read("LGT.Log");
    m_screen->Form_KeyDown(Right, 0);
    const QString banner = m_screen->cover()->banner();
    QVERIFY(banner.startsWith("Level 7 done\n") && banner.contains(QString(", %1 seconds left").arg(timeLeft)));
    QCOMPARE(banner.contains("best"), best);
    QCOMPARE(BestResults::of(7)->secondsLeft, kept);
    QCOMPARE(BestResults::of(3).has_value(), bestFile.contains("3 9 100"));
    QCOMPARE(m_dir->read("Best.Log.old"), setAside ? bestFile : QByteArray());
    // The banner stops nothing: the next level waits for its first key.
    QCOMPARE(m_screen->Label2->text(), QStringLiteral("8"));
    QVERIFY(!m_screen->Timer1->isActive() && !m_screen->isPaused());
    QCOMPARE(m_dir->read("LGT.Log"), progress);
}

void TestPlaying::levelTwentyEndsWithTheDisplay()
{
    playCustom(board({"111", "104", "111"}), "20");
    m_screen->show();
    // The 17.5 s of the display pass forty times faster.
    m_screen->steps()->setSpeed(40);
    QVERIFY(m_screen->Picture5->isHidden());
    // A screen reader meets the end-of-game text only once it is shown.
    QAccessibleInterface *tree = QAccessible::queryAccessibleInterface(m_screen);
    QAccessibleInterface *panel = QAccessible::queryAccessibleInterface(m_screen->Picture5);
    QCOMPARE(tree->indexOfChild(panel), -1);
    QCOMPARE(tree->child(0)->text(QAccessible::Name), QStringLiteral("Play area"));
    const QPointer<Game_Screen> screen(m_screen);
    m_screen->Form_KeyDown(Right, 0);
    QVERIFY(m_screen->isFinishing());
    QTRY_VERIFY(m_screen->Picture5->isVisible());
    QVERIFY(tree->indexOfChild(panel) >= 0);
    QCOMPARE(m_screen->Picture5->pos(), QPoint(0, 0));
    QVERIFY(m_screen->Label9->isVisible());
    m_screen->Form_KeyDown(Right, 0);
    QTest::keyClick(m_screen, Qt::Key_Escape);
    QVERIFY(!m_screen->isPaused());
    QVERIFY(!m_screen->Timer1->isActive());
    QTRY_VERIFY(!m_forms->isLoaded(FormId::GameScreen));
    QVERIFY(m_forms->loaded(FormId::About)->isVisible());
    QVERIFY(m_forms->loaded(FormId::LoadFiles)->isVisible());
    QVERIFY(!m_forms->isLoaded(FormId::PlayGame));
    QTRY_VERIFY(!screen);
}

void TestPlaying::closingTheScreenEndsTheDisplay()
{
    playCustom(board({"111", "104", "111"}), "20");
    m_screen->show();
    const QPointer<Game_Screen> screen(m_screen);
    m_screen->steps()->setSpeed(40);
    m_screen->Form_KeyDown(Right, 0);
    QTRY_VERIFY(m_screen->Picture5->isVisible());
    m_forms->unload(FormId::GameScreen);
    m_screen->pause();
    QVERIFY(!m_screen->isPaused());
    QVERIFY(!m_screen->steps()->isActive());
    QVERIFY(!m_forms->isLoaded(FormId::GameScreen));
    QVERIFY(!m_forms->isLoaded(FormId::About));
    QVERIFY(!m_forms->isLoaded(FormId::LoadFiles));
    QVERIFY(m_forms->loaded(FormId::PlayGame)->isVisible());
    QTRY_VERIFY(!screen);
}

QTEST_MAIN(TestPlaying)
void TestPlaying::everyLevelReplaysToItsBest_data()
{
    QTest::addColumn<int>("level");
    for (int level = 1; level <= LevelTable::BuiltInLevels; ++level)
        QTest::addRow("level %d", level) << level;
}

// The checker's route, played through a round at the pace shown to a player,
// gets out in time; played on the play screen it is kept as the level's best
// with its run, and that run played again gives exactly that best.
void TestPlaying::everyLevelReplaysToItsBest()
{
    QFETCH(int, level);
    const LevelRecord &record = m_screen->level(level - 1);
    const std::optional<Route> route = LevelSolver(LevelMap(record)).solve();
    QVERIFY(route);
    const std::optional<double> pace = LevelReplay::watchingPace(record, route->keys, route->pace);
    QVERIFY(pace && *pace <= LevelReplay::FastestPace);
    QVERIFY(LevelReplay::play(record, LevelReplay::ofRoute(record, route->keys, *pace)).won);

    m_screen->Label2->setText(QString::number(level));
    m_screen->loadscreen(level - 1);
    for (const QChar letter : route->keys)
        m_screen->Form_KeyDown(Arrow::keyCode(*Arrow::ofLetter(letter)), 0);
    const std::optional<BestResults::Result> best = BestResults::of(level);
    QVERIFY(best);
    const std::optional<LevelRun> run = LevelRun::read(LevelRun::path(level));
    QVERIFY(run);
    QCOMPARE(run->keys().size(), route->keys.size());
    const LevelReplay::Result replayed = LevelReplay::play(record, *run);
    QVERIFY2(replayed.won, qPrintable(replayed.why));
    QCOMPARE(replayed.secondsLeft, best->secondsLeft);
    QCOMPARE(replayed.points, best->points);
}

#include "tst_playing.moc"
