// SPDX-License-Identifier: GPL-3.0-or-later
#include "Forms.h"
#include "EndPanel.h"
#include "Game_Screen.h"
#include "Pictures.h"
#include "ScratchDir.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>

// Building levels on the play screen.
class TestGameScreen : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void freshScreenShowsLevelOne();
    void buildingAgainRestoresTheMap();
    void buildingStopsTheClock();
    void levelEightUsesTheButtonFace();
    void buildingLevelTwoRecordsProgress();

private:
    std::unique_ptr<ScratchDir> m_dir;
    std::unique_ptr<Forms> m_forms;
    Game_Screen *m_screen = nullptr;
};

void TestGameScreen::init()
{
    m_dir = std::make_unique<ScratchDir>();
    m_forms = std::make_unique<Forms>();
    m_screen = m_forms->get<Game_Screen>();
}

void TestGameScreen::cleanup()
{
    m_forms.reset();
    m_dir.reset();
}

void TestGameScreen::freshScreenShowsLevelOne()
{
    QCOMPARE(m_screen->Image1().size(), std::size_t(256));
    QCOMPARE(m_screen->Label2->text(), QStringLiteral("1"));
    QCOMPARE(m_screen->Label4->text(), QStringLiteral("0"));
    QCOMPARE(m_screen->Cash->text(), QStringLiteral("14"));
    QCOMPARE(m_screen->Label5->text(), QStringLiteral("30"));
    QCOMPARE(m_screen->Lives_Number->text(), QStringLiteral("3"));
    QCOMPARE(m_screen->Image3().left, 480);
    QCOMPARE(m_screen->Image3().top, 480);
    QCOMPARE(m_screen->Image3().picture.toImage(), Pictures::figure(Arrow::Down).toImage());
    QCOMPARE(m_screen->backColor(), QColor(0, 0, 255));
    // Element k holds the k-th code in reading order.
    QCOMPARE(m_screen->Image1().at(17).tag, QStringLiteral("0"));
    QCOMPARE(m_screen->Image1().at(19).tag, QStringLiteral("3"));
    QCOMPARE(m_screen->Image1().at(19).left, 1440);
    QCOMPARE(m_screen->Image1().at(19).top, 480);
    QVERIFY(m_screen->Picture5->isHidden());
}

void TestGameScreen::buildingAgainRestoresTheMap()
{
    // Down to the third row, along it and down onto the banknote at (6, 4).
    for (const int key : {40, 40, 39, 39, 39, 39, 39, 40})
        m_screen->Form_KeyDown(key, 0);
    QCOMPARE(m_screen->Cash->text(), QStringLiteral("13"));
    QCOMPARE(m_screen->Label4->text(), QStringLiteral("100"));
    m_screen->loadscreen(0);
    QCOMPARE(m_screen->Cash->text(), QStringLiteral("14"));
    QCOMPARE(m_screen->Image1().at(4 * 16 + 6).tag, QStringLiteral("3"));
    QCOMPARE(m_screen->Image3().left, 480);
    QCOMPARE(m_screen->Label4->text(), QStringLiteral("100"));
}

void TestGameScreen::buildingStopsTheClock()
{
    m_screen->Form_KeyDown('A', 0);
    QVERIFY(m_screen->Timer1->isActive());
    m_screen->loadscreen(3);
    QVERIFY(!m_screen->Timer1->isActive());
    QCOMPARE(m_screen->Label5->text(), QStringLiteral("25"));
}

void TestGameScreen::levelEightUsesTheButtonFace()
{
    m_screen->loadscreen(7);
    QCOMPARE(m_screen->backColor(), QApplication::palette().color(QPalette::Button));
}

void TestGameScreen::buildingLevelTwoRecordsProgress()
{
    QCOMPARE(m_dir->read("LGT.Log"), QByteArray());
    QVERIFY(m_dir->exists("LGT.Log"));
    m_screen->loadscreen(1);
    QCOMPARE(m_dir->read("LGT.Log"), QByteArray(" 125 \r\n"));
}

QTEST_MAIN(TestGameScreen)
#include "tst_gamescreen.moc"
