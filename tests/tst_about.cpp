// SPDX-License-Identifier: GPL-3.0-or-later
#include "About.h"
#include "Forms.h"
#include "Main_Menu.h"
#include "PictureBox.h"
#include "Pictures.h"
#include "ScratchDir.h"
#include "StepTimer.h"
#include "VisibleWindows.h"

#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

// What the animation has changed: the typed text and the boxes' twips.
struct Snapshot
{
    QString text;
    int coverLeft, coverTop, coverHeight, rightCurtain, leftCurtain;
    bool operator==(const Snapshot &) const = default;
};

namespace QTest {
template<>
char *toString(const Snapshot &s)
{
    return qstrdup(QStringLiteral("%1 chars, cover %2,%3 h %4, curtains %5 %6")
                       .arg(s.text.size())
                       .arg(s.coverLeft)
                       .arg(s.coverTop)
                       .arg(s.coverHeight)
                       .arg(s.rightCurtain)
                       .arg(s.leftCurtain)
                       .toUtf8()
                       .constData());
}
} // namespace QTest

// The about screen: the credits text, every step of the animation with its
// pause, and closing the window in the middle of it.
class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void creditsHaveTwentyEightLines_data();
    void creditsHaveTwentyEightLines();
    void opensWithTheWholeTextAndTheBoxesInPlace();
    void explorerIsEnlargedWithSharpPixels();
    void animationSteps_data();
    void animationSteps();
    void oneCycleLastsAboutSeventySevenSeconds();
    void firstTickTypesOneCharacter();
    void closingMidAnimationStopsIt_data();
    void closingMidAnimationStopsIt();
    void closingBeforeTheFirstTickStartsNothing();
    void reopeningStartsAfresh();

private:
    // Opens the about screen from the main menu, as the player does.
    About *open();
    static Snapshot snapshot(const About *about);
    // Ends the game if the animation has not stopped within 10 s, so that a
    // window that keeps animating after its close fails the test instead of
    // hanging it.
    void startWatchdog(QTimer &watchdog, bool &gaveUp);

    std::unique_ptr<ScratchDir> m_dir;
    std::unique_ptr<Forms> m_forms;
};

void TestAbout::init()
{
    m_dir = std::make_unique<ScratchDir>();
    m_forms = std::make_unique<Forms>();
    m_forms->start();
}

void TestAbout::cleanup()
{
    m_forms.reset();
    m_dir.reset();
}

About *TestAbout::open()
{
    auto *main = m_forms->get<Main_Menu>();
    main->focus(2);
    QTest::keyClick(main, Qt::Key_Return);
    return static_cast<About *>(m_forms->loaded(FormId::About));
}

void TestAbout::startWatchdog(QTimer &watchdog, bool &gaveUp)
{
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, this, [this, &gaveUp] {
        gaveUp = true;
        m_forms->end();
    });
    watchdog.start(10000);
}

Snapshot TestAbout::snapshot(const About *about)
{
    return {about->Label1->text(),   about->Picture1->Left(), about->Picture1->Top(), about->Picture1->Height(),
            about->Picture3->Left(), about->Picture4->Left()};
}

void TestAbout::creditsHaveTwentyEightLines_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("text");

    const QString macron(QChar(0x00AF));
    QTest::newRow("greeting") << 1 << "Hey All :";
    QTest::newRow("its underline") << 2 << macron.repeated(7);
    QTest::newRow("list") << 4 << "well, we got a list of names here, LOL, Enjoy the game !!!";
    QTest::newRow("programmer") << 6 << "Programmer:";
    QTest::newRow("programmer underline") << 7 << macron.repeated(11);
    QTest::newRow("designer") << 10 << "Graphic Designer:";
    QTest::newRow("designer underline") << 11 << macron.repeated(15);
    QTest::newRow("testers") << 14 << "Game testers:";
    QTest::newRow("testers underline") << 15 << macron.repeated(12);
    QTest::newRow("more testers") << 19 << "And some more that doesn't want they'r names here, *thanks*.";
    QTest::newRow("builders") << 21 << "Levels builders:";
    QTest::newRow("thanks") << 25 << "And thank you for playing the game !!!!";
    QTest::newRow("enjoy") << 27 << " ENJOY.";
    for (const int blank : {5, 9, 13, 20, 24, 26})
        QTest::addRow("blank %d", blank) << blank << QString();
}

void TestAbout::creditsHaveTwentyEightLines()
{
    QFETCH(int, line);
    QFETCH(QString, text);

    const QString credits = About::credits();
    QCOMPARE(credits.size(), 646);
    const QStringList lines = credits.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 28);
    QVERIFY(!credits.contains(QRegularExpression(QStringLiteral("[^\r]\n|\r[^\n]"))));
    QCOMPARE(lines.at(line - 1), text);

    // The names are made up here, each line in its expected shape.
    QVERIFY(lines.at(2).startsWith(u"i just want to say thanks to everyone"));
    for (const int name : {8, 12, 16, 22})
        QVERIFY2(lines.at(name - 1).endsWith(u'.') && lines.at(name - 1).size() > 1, qPrintable(lines.at(name - 1)));
    QVERIFY(lines.at(16).contains(u" - www."));
    QVERIFY(lines.at(22).endsWith(u" - Special thanks !!"));
    QCOMPARE(lines.at(27), QStringLiteral("   ") + lines.at(7));
}

void TestAbout::opensWithTheWholeTextAndTheBoxesInPlace()
{
    const About *about = open();
    QVERIFY(about);
    QCOMPARE(visibleWindows(), QStringList{"About"});
    QCOMPARE(about->Label1->text(), About::credits());
    QCOMPARE(about->Label2->text(), About::credits());
    QCOMPARE(snapshot(about), (Snapshot{About::credits(), 2040, 2040, 1575, 4320, -2410}));
    QVERIFY(about->Timer1->isActive());
    QCOMPARE(about->Timer1->interval(), 100);
}

// Each pixel of the picture becomes a square of three by three, with none of
// the in-between colours that smoothing would add.
void TestAbout::explorerIsEnlargedWithSharpPixels()
{
    const About *about = open();
    QVERIFY(about);
    const QImage picture = Pictures::lifeIcon().toImage();
    QImage expected(picture.size() * 3, QImage::Format_RGB32);
    expected.fill(QColor(64, 64, 64));
    QPainter(&expected).drawImage(0, 0, picture.scaled(expected.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation));
    const QImage shown = about->Picture2->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.copy(QRect(QPoint(0, 0), expected.size())), expected);
}

void TestAbout::animationSteps_data()
{
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("typed");
    QTest::addColumn<int>("coverLeft");
    QTest::addColumn<int>("coverTop");
    QTest::addColumn<int>("coverHeight");
    QTest::addColumn<int>("rightCurtain");
    QTest::addColumn<int>("leftCurtain");
    QTest::addColumn<double>("pause");

    // Typing: one character a step; the last steps add nothing.
    QTest::newRow("first character") << 1 << 1 << 2040 << 2040 << 1575 << 4320 << -2410 << 0.09;
    QTest::newRow("whole text") << 646 << 646 << 2040 << 2040 << 1575 << 4320 << -2410 << 0.09;
    QTest::newRow("step 648") << 648 << 646 << 2040 << 2040 << 1575 << 4320 << -2410 << 0.09;
    QTest::newRow("step 649") << 649 << 646 << 2040 << 2040 << 1575 << 4320 << -2410 << 0.5;
    // Uncovering: 49 steps of 30 twips.
    QTest::newRow("uncover 1") << 650 << 646 << 2070 << 2040 << 1575 << 4320 << -2410 << 0.1;
    QTest::newRow("uncover 49") << 698 << 646 << 3510 << 2040 << 1575 << 4320 << -2410 << 0.1;
    // The blind: back in place, 15 twips high, 18 steps of 90.
    QTest::newRow("blind 1") << 699 << 646 << 2040 << 2040 << 105 << 4320 << -2410 << 0.1;
    QTest::newRow("blind 18") << 716 << 646 << 2040 << 2040 << 1635 << 4320 << -2410 << 0.1;
    // The curtains: the right one stops after 114 steps, the left after 116.
    QTest::newRow("curtains 1") << 717 << 646 << 2040 << 2040 << 1635 << 4300 << -2390 << 0.1;
    QTest::newRow("curtains 114") << 830 << 646 << 2040 << 2040 << 1635 << 2040 << -130 << 0.1;
    QTest::newRow("curtains 116") << 832 << 646 << 2040 << 2040 << 1635 << 2040 << -90 << 0.1;
    // Again: curtains open, typing from the first character, cover left down.
    QTest::newRow("second cycle") << 833 << 1 << 2040 << 2040 << 1635 << 4320 << -2410 << 0.09;
    QTest::newRow("second uncover 1") << 833 + 649 << 646 << 2070 << 2040 << 1635 << 4320 << -2410 << 0.1;
    QTest::newRow("second blind 1") << 833 + 650 + 48 << 646 << 2040 << 2040 << 105 << 4320 << -2410 << 0.1;
}

void TestAbout::animationSteps()
{
    QFETCH(int, steps);
    QFETCH(int, typed);
    QFETCH(int, coverLeft);
    QFETCH(int, coverTop);
    QFETCH(int, coverHeight);
    QFETCH(int, rightCurtain);
    QFETCH(int, leftCurtain);
    QFETCH(double, pause);

    auto *about = m_forms->get<About>();
    double last = 0;
    for (int i = 0; i < steps; ++i)
        last = about->nextStep();
    QCOMPARE(snapshot(about),
             (Snapshot{About::credits().left(typed), coverLeft, coverTop, coverHeight, rightCurtain, leftCurtain}));
    QCOMPARE(last, pause);
}

void TestAbout::oneCycleLastsAboutSeventySevenSeconds()
{
    auto *about = m_forms->get<About>();
    double total = 0;
    int pauses = 0;
    do {
        total += about->nextStep();
        ++pauses;
    } while (about->Picture3->Left() != 2040 || about->Picture4->Left() != -90);
    QCOMPARE(pauses, 648 + 1 + 49 + 18 + 116);
    QVERIFY2(qAbs(total - 77.12) < 1e-6, qPrintable(QString::number(total)));
}

void TestAbout::firstTickTypesOneCharacter()
{
    About *about = open();
    const QPointer<About> guard(about);
    QString typed;
    // Looks at the text while the animation pauses after its first step,
    // then closes the window from inside that pause.
    QTimer watcher;
    watcher.setInterval(5);
    connect(&watcher, &QTimer::timeout, this, [&] {
        if (guard && about->Label1->text() != About::credits()) {
            typed = about->Label1->text();
            watcher.stop();
            about->close();
        }
    });
    watcher.start();
    QTimer watchdog;
    bool gaveUp = false;
    startWatchdog(watchdog, gaveUp);
    QTRY_VERIFY_WITH_TIMEOUT(!m_forms->isLoaded(FormId::About), 20000);
    QVERIFY(!gaveUp);
    QCOMPARE(typed, QStringLiteral("H"));
    QCOMPARE(visibleWindows(), QStringList{"Main Menu"});
}

void TestAbout::closingMidAnimationStopsIt_data()
{
    QTest::addColumn<int>("steps");

    QTest::newRow("typing, first pause") << 0;
    QTest::newRow("typing") << 300;
    QTest::newRow("after the typing") << 648;
    QTest::newRow("uncovering") << 660;
    QTest::newRow("blind") << 705;
    QTest::newRow("curtains") << 760;
}

void TestAbout::closingMidAnimationStopsIt()
{
    QFETCH(int, steps);

    QSignalSpy ended(m_forms.get(), &Forms::ended);
    About *about = open();
    const QPointer<About> guard(about);
    for (int i = 0; i < steps; ++i)
        about->nextStep();

    // The same animation one step further, without pauses, for comparison.
    About reference;
    reference.Timer1->stop();
    for (int i = 0; i <= steps; ++i)
        reference.nextStep();

    // Closed in the pause after the first tick's step: the credits stop at
    // once and the window goes the ordinary way, its steps with it.
    std::optional<Snapshot> atClose;
    bool stillRunning = true;
    QTimer::singleShot(0, about, [&] {
        atClose = snapshot(about);
        about->close();
        stillRunning = about->steps()->isActive();
    });
    QTimer watchdog;
    bool gaveUp = false;
    startWatchdog(watchdog, gaveUp);
    about->Timer1_Timer();
    QTRY_VERIFY(atClose);

    QVERIFY(!gaveUp);
    QCOMPARE(*atClose, snapshot(&reference));
    QVERIFY(!stillRunning);
    QVERIFY(!m_forms->isLoaded(FormId::About));
    QTRY_VERIFY(!guard);
    QCOMPARE(visibleWindows(), QStringList{"Main Menu"});
    QCOMPARE(m_forms->get<Main_Menu>()->Curr->text(), QStringLiteral("0"));
    QCOMPARE(ended.count(), 0);
}

void TestAbout::closingBeforeTheFirstTickStartsNothing()
{
    About *about = open();
    const QPointer<About> guard(about);
    QVERIFY(about->close());
    QVERIFY(guard);
    QVERIFY(!about->Timer1->isActive());
    QCOMPARE(visibleWindows(), QStringList{"Main Menu"});
}

void TestAbout::reopeningStartsAfresh()
{
    About *first = open();
    for (int i = 0; i < 720; ++i)
        first->nextStep();
    QVERIFY(first->close());
    QCOMPARE(visibleWindows(), QStringList{"Main Menu"});

    About *second = open();
    QCOMPARE(snapshot(second), (Snapshot{About::credits(), 2040, 2040, 1575, 4320, -2410}));
    second->nextStep();
    QCOMPARE(second->Label1->text(), QStringLiteral("H"));
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
