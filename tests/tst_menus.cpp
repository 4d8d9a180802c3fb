// SPDX-License-Identifier: GPL-3.0-or-later
#include "Forms.h"
#include "Game_Screen.h"
#include "HowToPlay.h"
#include "Main_Menu.h"
#include "MessageLog.h"
#include "Play_Game.h"
#include "ScratchDir.h"
#include "VisibleWindows.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

Q_DECLARE_METATYPE(FormId)


// The main menu and the play menu: the highlight, the keys, the pointer and
// where each item leads.
class TestMenus : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startShowsOnlyTheMainMenu();
    void upAndDownWrapAround_data();
    void upAndDownWrapAround();
    void otherKeysDoNothing_data();
    void otherKeysDoNothing();
    void pointingHighlightsAnItem();
    void clickRunsTheHighlightedItem();
    void mainMenuItemsHandOver_data();
    void mainMenuItemsHandOver();
    void playMenuItemsHandOver_data();
    void playMenuItemsHandOver();
    void exitGameEndsWhateverIsHidden_data();
    void exitGameEndsWhateverIsHidden();
    void backToMainMenuAndAgainStartsAtTheTop();
    void closingThePlayMenuShowsTheMainMenu();
    void escapeIsTheCloseBox_data();
    void escapeIsTheCloseBox();
    void windowsOpenInsideTheScreen_data();
    void windowsOpenInsideTheScreen();
    void f1OpensOnePageOnHowToPlay_data();
    void f1OpensOnePageOnHowToPlay();
    void screenReaderHearsOnlyTheWindowOpened_data();
    void screenReaderHearsOnlyTheWindowOpened();

private:
    Menu *menu(FormId id) { return static_cast<Menu *>(m_forms->form(id)); }
    // The items carrying the highlight colours.
    static QList<int> highlighted(const Menu *menu);

    std::unique_ptr<ScratchDir> m_dir;
    std::unique_ptr<Forms> m_forms;
};

void TestMenus::init()
{
    m_dir = std::make_unique<ScratchDir>();
    m_forms = std::make_unique<Forms>();
    m_forms->start();
}

void TestMenus::cleanup()
{
    m_forms.reset();
    m_dir.reset();
}

QList<int> TestMenus::highlighted(const Menu *menu)
{
    QList<int> items;
    for (std::size_t i = 0; i < menu->Label1.size(); ++i) {
        const QPalette palette = menu->Label1[i]->palette();
        const QColor back = palette.color(QPalette::Window);
        const QColor text = palette.color(QPalette::Active, QPalette::WindowText);
        if (back == Menu::HighlightBack && text == Menu::HighlightText)
            items.append(int(i));
        else if (back != Menu::NormalBack || text != Menu::NormalText)
            items.append(-1); // neither pair: a colour went wrong
    }
    return items;
}

void TestMenus::startShowsOnlyTheMainMenu()
{
    QCOMPARE(visibleWindows(), QStringList{"Main Menu"});
    const Menu *main = menu(FormId::MainMenu);
    QCOMPARE(main->Curr->text(), QStringLiteral("0"));
    QVERIFY(main->Curr->isHidden());
    QCOMPARE(main->Label1.at(0)->text(), QStringLiteral("Play Game"));
    QCOMPARE(highlighted(main), QList<int>{0});
    QCOMPARE(QAccessible::queryAccessibleInterface(m_forms->get<Main_Menu>()->Label2)->text(QAccessible::Name),
             QStringLiteral("This game was builted by: Ilan Dorvesh, 20 Levels Builted by: Gal Prennick, "
                            "Thanks to: www.veltrano-mazes.example"));
    for (const FormId id : {FormId::PlayGame, FormId::StartLevel, FormId::About, FormId::GameScreen,
                            FormId::LoadFiles, FormId::MapEditor})
        QVERIFY(!m_forms->isLoaded(id));
}

void TestMenus::upAndDownWrapAround_data()
{
    QTest::addColumn<FormId>("window");
    QTest::addColumn<int>("from");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<int>("to");

    QTest::newRow("main: Up on Play Game") << FormId::MainMenu << 0 << Qt::Key_Up << 3;
    QTest::newRow("main: Down on Exit game") << FormId::MainMenu << 3 << Qt::Key_Down << 0;
    QTest::newRow("main: Up") << FormId::MainMenu << 2 << Qt::Key_Up << 1;
    QTest::newRow("main: Down") << FormId::MainMenu << 1 << Qt::Key_Down << 2;
    QTest::newRow("play: Up on Start new game") << FormId::PlayGame << 0 << Qt::Key_Up << 3;
    QTest::newRow("play: Down on Back to main menu") << FormId::PlayGame << 3 << Qt::Key_Down << 0;
}

void TestMenus::upAndDownWrapAround()
{
    QFETCH(FormId, window);
    QFETCH(int, from);
    QFETCH(Qt::Key, key);
    QFETCH(int, to);

    m_forms->show(window);
    Menu *target = menu(window);
    QVERIFY(QTest::qWaitForWindowActive(target));
    target->focus(from);
    QTest::keyClick(target, key);
    QCOMPARE(target->Curr->text(), QString::number(to));
    QCOMPARE(highlighted(target), QList<int>{to});
    // A screen reader meets menu items by name, the highlighted one alone
    // focused and selected, and never the hidden index behind them.
    QAccessibleInterface *tree = QAccessible::queryAccessibleInterface(target);
    QAccessibleInterface *item = tree->child(to);
    QCOMPARE(item->role(), QAccessible::MenuItem);
    QCOMPARE(item->text(QAccessible::Name), target->Label1.at(std::size_t(to))->text());
    QVERIFY(item->state().focused && item->state().selected && !tree->child(from)->state().selected);
    QCOMPARE(tree->indexOfChild(QAccessible::queryAccessibleInterface(target->Curr)), -1);
}

void TestMenus::otherKeysDoNothing_data()
{
    QTest::addColumn<Qt::Key>("key");

    QTest::newRow("Escape") << Qt::Key_Escape;
    QTest::newRow("Space") << Qt::Key_Space;
    QTest::newRow("Left") << Qt::Key_Left;
    QTest::newRow("Right") << Qt::Key_Right;
    QTest::newRow("A") << Qt::Key_A;
    QTest::newRow("Tab") << Qt::Key_Tab;
    // Their Qt codes are those of Up and Down.
    QTest::newRow("&") << Qt::Key_Ampersand;
    QTest::newRow("(") << Qt::Key_ParenLeft;
}

void TestMenus::otherKeysDoNothing()
{
    QFETCH(Qt::Key, key);

    Menu *main = menu(FormId::MainMenu);
    main->focus(1);
    QTest::keyClick(main, key);
    QCOMPARE(main->Curr->text(), QStringLiteral("1"));
    QCOMPARE(highlighted(main), QList<int>{1});
    QCOMPARE(visibleWindows(), QStringList{"Main Menu"});
}

void TestMenus::pointingHighlightsAnItem()
{
    auto *main = m_forms->get<Main_Menu>();
    main->focus(3);
    QTest::mouseMove(main->Label1.at(1));
    QCOMPARE(main->Curr->text(), QStringLiteral("1"));
    QCOMPARE(highlighted(main), QList<int>{1});

    // Off the items the highlight stays where it is.
    QTest::mouseMove(main->Label2);
    QTest::mouseMove(main, QPoint(2, 2));
    QCOMPARE(main->Curr->text(), QStringLiteral("1"));
    QTest::mouseClick(main->Label2, Qt::LeftButton);
    QCOMPARE(visibleWindows(), QStringList{"Main Menu"});
}

void TestMenus::clickRunsTheHighlightedItem()
{
    QTest::keyClick(menu(FormId::MainMenu), Qt::Key_Return);
    Menu *play = menu(FormId::PlayGame);
    QTest::mouseMove(play->Label1.at(0));
    QTest::keyClick(play, Qt::Key_Down);
    QCOMPARE(play->Curr->text(), QStringLiteral("1"));

    // The pointer still rests on "Start new game"; "Start from level" runs.
    QTest::mouseClick(play->Label1.at(0), Qt::LeftButton);
    QCOMPARE(visibleWindows(), QStringList{"Start From Level:"});
    QVERIFY(!m_forms->isLoaded(FormId::GameScreen));
    QCOMPARE(play->Curr->text(), QStringLiteral("0"));
}

void TestMenus::mainMenuItemsHandOver_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("how"); // Enter, a click, or a screen reader's press
    QTest::addColumn<QString>("shown");

    for (const char *how : {"Enter", "click", "press"}) {
        QTest::addRow("Play Game, %s", how) << 0 << how << "Play Game";
        QTest::addRow("Level Creator, %s", how) << 1 << how << "Veltrano - MAP EDITOR";
        QTest::addRow("About this game, %s", how) << 2 << how << "About";
    }
}

void TestMenus::mainMenuItemsHandOver()
{
    QFETCH(int, item);
    QFETCH(QString, how);
    QFETCH(QString, shown);

    QSignalSpy ended(m_forms.get(), &Forms::ended);
    Menu *main = menu(FormId::MainMenu);
    if (how == u"click") {
        QTest::mouseMove(main->Label1.at(std::size_t(item)));
        QTest::mouseClick(main->Label1.at(std::size_t(item)), Qt::LeftButton);
    } else if (how == u"press") {
        QAccessibleInterface *entry = QAccessible::queryAccessibleInterface(main->Label1.at(std::size_t(item)));
        entry->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    } else {
        main->focus(item);
        QTest::keyClick(main, Qt::Key_Return);
    }
    QCOMPARE(visibleWindows(), QStringList{shown});
    // Hidden, not unloaded, and ready to come back on its first item.
    QVERIFY(m_forms->isLoaded(FormId::MainMenu));
    QCOMPARE(main->Curr->text(), QStringLiteral("0"));
    QCOMPARE(highlighted(main), QList<int>{0});
    QCOMPARE(ended.count(), 0);
}

void TestMenus::playMenuItemsHandOver_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("shown");

    QTest::newRow("Start new game") << 0 << "Veltrano";
    QTest::newRow("Start from level") << 1 << "Start From Level:";
    QTest::newRow("Load level from file") << 2 << "Load Level from files";
    QTest::newRow("Back to main menu") << 3 << "Main Menu";
}

void TestMenus::playMenuItemsHandOver()
{
    QFETCH(int, item);
    QFETCH(QString, shown);

    Menu *main = menu(FormId::MainMenu);
    QTest::keyClick(main, Qt::Key_Return);
    Menu *play = menu(FormId::PlayGame);
    for (int i = 0; i < item; ++i)
        QTest::keyClick(play, Qt::Key_Down);
    QTest::keyClick(play, Qt::Key_Return);

    QCOMPARE(visibleWindows(), QStringList{shown});
    QVERIFY(m_forms->isLoaded(FormId::PlayGame));
    QCOMPARE(play->Curr->text(), QStringLiteral("0"));
    QCOMPARE(highlighted(play), QList<int>{0});
}

void TestMenus::exitGameEndsWhateverIsHidden_data()
{
    QTest::addColumn<bool>("closeBox");

    QTest::newRow("Exit game") << false;
    QTest::newRow("close box") << true;
}

void TestMenus::exitGameEndsWhateverIsHidden()
{
    QFETCH(bool, closeBox);

    // Leave the play menu loaded and hidden behind the main menu.
    Menu *main = menu(FormId::MainMenu);
    QTest::keyClick(main, Qt::Key_Return);
    Menu *play = menu(FormId::PlayGame);
    QTest::keyClick(play, Qt::Key_Up);
    QTest::keyClick(play, Qt::Key_Return);
    QVERIFY(m_forms->isLoaded(FormId::PlayGame));
    QCOMPARE(visibleWindows(), QStringList{"Main Menu"});

    QSignalSpy ended(m_forms.get(), &Forms::ended);
    if (closeBox) {
        main->close();
    } else {
        QTest::keyClick(main, Qt::Key_Up);
        QTest::keyClick(main, Qt::Key_Return);
    }
    QCOMPARE(ended.count(), 1);
    QCOMPARE(visibleWindows(), QStringList());
    QVERIFY(!m_forms->isLoaded(FormId::MainMenu));
    QVERIFY(!m_forms->isLoaded(FormId::PlayGame));
}

void TestMenus::backToMainMenuAndAgainStartsAtTheTop()
{
    Menu *main = menu(FormId::MainMenu);
    QTest::keyClick(main, Qt::Key_Return);
    Menu *play = menu(FormId::PlayGame);
    QTest::keyClick(play, Qt::Key_Down);
    QTest::keyClick(play, Qt::Key_Down);
    QTest::keyClick(play, Qt::Key_Down);
    QTest::keyClick(play, Qt::Key_Return);

    QCOMPARE(visibleWindows(), QStringList{"Main Menu"});
    QCOMPARE(highlighted(main), QList<int>{0});
    QTest::keyClick(main, Qt::Key_Return);
    QCOMPARE(visibleWindows(), QStringList{"Play Game"});
    QCOMPARE(menu(FormId::PlayGame), play);
    QCOMPARE(play->Curr->text(), QStringLiteral("0"));
    QCOMPARE(highlighted(play), QList<int>{0});
}

void TestMenus::closingThePlayMenuShowsTheMainMenu()
{
    QSignalSpy ended(m_forms.get(), &Forms::ended);
    Menu *main = menu(FormId::MainMenu);
    QTest::keyClick(main, Qt::Key_Return);
    Menu *play = menu(FormId::PlayGame);
    QTest::keyClick(play, Qt::Key_Down);
    QTest::keyClick(play, Qt::Key_Down);

    QVERIFY(play->close());
    QCOMPARE(visibleWindows(), QStringList{"Main Menu"});
    QVERIFY(!m_forms->isLoaded(FormId::PlayGame));
    QCOMPARE(highlighted(main), QList<int>{0});
    QCOMPARE(ended.count(), 0);

    // Closed, not hidden: it comes back on its first item.
    QTest::keyClick(main, Qt::Key_Return);
    QCOMPARE(menu(FormId::PlayGame)->Curr->text(), QStringLiteral("0"));
    QCOMPARE(visibleWindows(), QStringList{"Play Game"});
}

void TestMenus::escapeIsTheCloseBox_data()
{
    QTest::addColumn<FormId>("window");
    QTest::addColumn<QString>("answer"); // to the editor's closing question
    QTest::addColumn<QString>("shown");
    QTest::newRow("play menu") << FormId::PlayGame << "" << "Main Menu";
    QTest::newRow("level selection") << FormId::StartLevel << "" << "Play Game";
    QTest::newRow("about screen") << FormId::About << "" << "Main Menu";
    QTest::newRow("load-level screen") << FormId::LoadFiles << "" << "Play Game";
    QTest::newRow("editor, Yes") << FormId::MapEditor << "Yes" << "Main Menu";
    QTest::newRow("editor, No") << FormId::MapEditor << "No" << "Veltrano - MAP EDITOR";
}

void TestMenus::escapeIsTheCloseBox()
{
    QFETCH(FormId, window);
    QFETCH(QString, answer);
    QFETCH(QString, shown);

    MessageLog log;
    log.answers = {answer == u"No" ? MessageBox::Answer::No : MessageBox::Answer::Yes};
    m_forms->hide(FormId::MainMenu);
    m_forms->show(window);
    Form *form = m_forms->form(window);
    QVERIFY(QTest::qWaitForWindowActive(form));
    QTest::keyClick(form->focusWidget() ? form->focusWidget() : form, Qt::Key_Escape);
    QCOMPARE(visibleWindows(), QStringList{shown});
    QCOMPARE(log.shown.size(), answer.isEmpty() ? 0 : 1);
}

void TestMenus::windowsOpenInsideTheScreen_data()
{
    QTest::addColumn<FormId>("window");
    // The editor is wider than the test's screen.
    for (int id = int(FormId::MainMenu); id <= int(FormId::MapEditor); ++id)
        QTest::addRow("window %d", id) << FormId(id);
}

void TestMenus::windowsOpenInsideTheScreen()
{
    QFETCH(FormId, window);
    m_forms->show(window);
    const QWidget *form = m_forms->form(window);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    // Room is left for a title bar above, and one too wide starts at the left.
    QVERIFY(form->y() > area.top() && form->x() >= area.left());
    QVERIFY(form->geometry().right() <= area.right() || form->x() == area.left());
}

void TestMenus::f1OpensOnePageOnHowToPlay_data()
{
    QTest::addColumn<FormId>("window");
    QTest::addColumn<bool>("clockRunning");
    for (int id = int(FormId::MainMenu); id <= int(FormId::MapEditor); ++id)
        QTest::addRow("window %d", id) << FormId(id) << false;
    QTest::newRow("play screen, clock running") << FormId::GameScreen << true;
}

// F1 anywhere opens the same page, moves no menu, starts no clock, and a
// running game is paused while the page is in front.
void TestMenus::f1OpensOnePageOnHowToPlay()
{
    QFETCH(FormId, window);
    QFETCH(bool, clockRunning);

    m_forms->show(window);
    Form *form = m_forms->form(window);
    QVERIFY(QTest::qWaitForWindowActive(form));
    auto *screen = qobject_cast<Game_Screen *>(form);
    if (clockRunning)
        QTest::keyClick(form, Qt::Key_Down);
    const QStringList before = visibleWindows();
    QWidget *keys = form->focusWidget() ? form->focusWidget() : form;
    QTest::keyClick(keys, Qt::Key_F1);
    HowToPlay *help = m_forms->howToPlay();
    QVERIFY(help && help->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(help));
    QTest::keyClick(help->text(), Qt::Key_F1);
    QCOMPARE(m_forms->howToPlay(), help);
    QCOMPARE(visibleWindows().count("Veltrano - How to play"), 1);
    if (auto *shown = qobject_cast<Menu *>(form))
        QCOMPARE(shown->Curr->text(), QStringLiteral("0"));
    if (screen)
        QVERIFY(screen->isPaused() == clockRunning && !screen->Timer1->isActive());

    const QString page = help->text()->toPlainText();
    for (const char *told : {"Clock (code 84)", "+15 seconds", "three extra lives", "Q on the pause cover", "F6", "Ctrl+Z"})
        QVERIFY2(page.contains(told), told);
    QCOMPARE(help->text()->document()->resource(QTextDocument::ImageResource, QUrl("tile:84")).value<QImage>().size(),
             QSize(32, 32));

    QTest::keyClick(help->text(), Qt::Key_Escape);
    QVERIFY(!help->isVisible());
    QCOMPARE(visibleWindows(), before);
    QVERIFY(QTest::qWaitForWindowActive(form));
}

void TestMenus::screenReaderHearsOnlyTheWindowOpened_data()
{
    QTest::addColumn<int>("item"); // chosen on the play menu
    QTest::addColumn<QString>("focused");

    QTest::newRow("Start from level") << 1 << "Start From Level:: Start Level 1";
    QTest::newRow("Back to main menu") << 3 << "Main Menu: Play Game";
}

// Leaving a menu resets its highlight without a word; the new window's
// highlighted item, not its frame, takes the focus and is heard.
void TestMenus::screenReaderHearsOnlyTheWindowOpened()
{
    QFETCH(int, item);
    QFETCH(QString, focused);

    Menu *main = menu(FormId::MainMenu);
    QTest::keyClick(main, Qt::Key_Return);
    Menu *play = menu(FormId::PlayGame);
    QVERIFY(QTest::qWaitForWindowActive(play));
    QCOMPARE(QApplication::focusWidget(), play->Label1.at(0));
    play->focus(item);
    QCOMPARE(QApplication::focusWidget(), play->Label1.at(std::size_t(item)));

    // Every move of the keyboard focus is what a screen reader is told.
    QStringList heard;
    const QObject listening;
    connect(qApp, &QApplication::focusChanged, &listening, [&heard](QWidget *, QWidget *now) {
        if (const auto *label = qobject_cast<const QLabel *>(now))
            heard.append(label->window()->windowTitle() + ": " + label->text());
    });
    QTest::keyClick(play, Qt::Key_Return);
    QTRY_COMPARE(heard, QStringList{focused});
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(QApplication::activeWindow());
    QCOMPARE(window->focusChild()->text(QAccessible::Name), focused.section(": ", 1));
}

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
