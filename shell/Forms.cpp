// SPDX-License-Identifier: GPL-3.0-or-later
#include "Forms.h"

#include "About.h"
#include "Form.h"
#include "Game_Screen.h"
#include "HowToPlay.h"
#include "LevelReplay.h"
#include "LevelRun.h"
#include "LevelTable.h"
#include "Load_Files.h"
#include "Main_Menu.h"
#include "MapEditor.h"
#include "MessageBox.h"
#include "Play_Game.h"
#include "Start_Level.h"

#include <QApplication>
#include <QKeyEvent>

Forms::Forms(QObject *parent)
    : QObject(parent)
{
    qApp->installEventFilter(this);
}

Forms::~Forms()
{
    for (auto &[id, form] : m_forms)
        delete form.data();
    delete m_howToPlay.data();
}

bool Forms::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<const QKeyEvent *>(event);
    if (key->key() != Qt::Key_F1 || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return QObject::eventFilter(watched, event);
    // A message box waits for its answer first; the page would open behind
    // it, out of reach.
    if (QApplication::activeModalWidget())
        return QObject::eventFilter(watched, event);
    // The game's windows and those they own, such as the table of best
    // results; the key came to one of their controls or to the window.
    QWidget *window = static_cast<QWidget *>(watched)->window();
    QWidget *owner = window;
    while (owner && !qobject_cast<Form *>(owner) && owner != m_howToPlay)
        owner = owner->parentWidget() ? owner->parentWidget()->window() : nullptr;
    if (!owner || (qobject_cast<Form *>(owner) && !idOf(static_cast<Form *>(owner))))
        return QObject::eventFilter(watched, event);
    if (!key->isAutoRepeat())
        showHowToPlay(window);
    return true;
}

HowToPlay *Forms::howToPlay() const
{
    return m_howToPlay;
}

HowToPlay *Forms::showHowToPlay(QWidget *over)
{
    if (!m_howToPlay)
        m_howToPlay = new HowToPlay;
    m_howToPlay->showOver(over);
    return m_howToPlay;
}

Form *Forms::create(FormId id)
{
    switch (id) {
    case FormId::GameScreen:
        return new Game_Screen;
    case FormId::MainMenu:
        return new Main_Menu;
    case FormId::PlayGame:
        return new Play_Game;
    case FormId::StartLevel:
        return new Start_Level;
    case FormId::About:
        return new About;
    case FormId::LoadFiles:
        return new Load_Files;
    case FormId::MapEditor:
        return new MapEditor;
    }
    Q_UNREACHABLE();
}

// The navigation table. Each row is a window's request and what follows it,
// in the order it happens; a window that leaves for another shows the next
// one before it hides or closes, so that the game never has no window.
void Forms::follow(FormId id, Form *form)
{
    switch (id) {
    case FormId::MainMenu: {
        auto *menu = static_cast<Main_Menu *>(form);
        connect(menu, &Main_Menu::playGameChosen, this, [this] { handOver(FormId::MainMenu, FormId::PlayGame); });
        connect(menu, &Main_Menu::levelCreatorChosen, this,
                [this] { handOver(FormId::MainMenu, FormId::MapEditor); });
        connect(menu, &Main_Menu::aboutChosen, this, [this] { handOver(FormId::MainMenu, FormId::About); });
        connect(menu, &Main_Menu::exitChosen, this, &Forms::end);
        break;
    }
    case FormId::PlayGame: {
        auto *menu = static_cast<Play_Game *>(form);
        connect(menu, &Play_Game::newGameChosen, this, [this] { handOver(FormId::PlayGame, FormId::GameScreen); });
        connect(menu, &Play_Game::startFromLevelChosen, this,
                [this] { handOver(FormId::PlayGame, FormId::StartLevel); });
        connect(menu, &Play_Game::loadFromFileChosen, this, [this] { handOver(FormId::PlayGame, FormId::LoadFiles); });
        connect(menu, &Play_Game::mainMenuChosen, this, [this] { handOver(FormId::PlayGame, FormId::MainMenu); });
        break;
    }
    case FormId::StartLevel: {
        auto *selection = static_cast<Start_Level *>(form);
        connect(selection, &Start_Level::levelChosen, this, [this](int level) {
            get<Game_Screen>()->playLevel(level);
            show(FormId::GameScreen);
            unload(FormId::StartLevel);
        });
        connect(selection, &Start_Level::goBackChosen, this, [this] {
            show(FormId::PlayGame);
            unload(FormId::StartLevel);
        });
        selection->setBestRunCheck([](int level) {
            const std::optional<LevelRun> run = LevelRun::read(LevelRun::path(level));
            return run && run->isOf(LevelTable::slot(level - 1));
        });
        connect(selection, &Start_Level::watchRequested, this, [this, selection](int level) {
            const std::optional<LevelRun> run = LevelRun::read(LevelRun::path(level));
            if (!run || !run->isOf(LevelTable::slot(level - 1))) {
                MessageBox::show(selection, QStringLiteral("No run of your best on level %1 is kept.").arg(level));
                return;
            }
            watch(FormId::StartLevel, *run, QString::number(level),
                  QStringLiteral("Your best on level %1, played again").arg(level));
        });
        connect(selection, &Start_Level::wayRequested, this, [this](int level) {
            showWay(FormId::StartLevel, LevelTable::slot(level - 1), QString::number(level),
                    QStringLiteral("level %1").arg(level));
        });
        break;
    }
    case FormId::About:
        break;
    case FormId::GameScreen: {
        auto *screen = static_cast<Game_Screen *>(form);
        connect(screen, &Game_Screen::fileLevelEnded, this, [this] { unload(FormId::GameScreen); });
        connect(screen, &Game_Screen::gameFinished, this, [this] {
            show(FormId::About);
            unload(FormId::GameScreen);
        });
        break;
    }
    case FormId::LoadFiles: {
        auto *files = static_cast<Load_Files *>(form);
        connect(files, &Load_Files::playChosen, this, [this](const LevelRecord &level, const QString &fileName) {
            get<Game_Screen>()->playFile(level, fileName);
            show(FormId::GameScreen);
            unload(FormId::LoadFiles);
        });
        connect(files, &Load_Files::editChosen, this, [this](const QStringList &lines) {
            get<MapEditor>()->loadFromFile(lines);
            show(FormId::MapEditor);
            unload(FormId::LoadFiles);
        });
        connect(files, &Load_Files::wayRequested, this, [this](const LevelRecord &level) {
            showWay(FormId::LoadFiles, level, LevelTable::FileMarker, QStringLiteral("this level"));
        });
        break;
    }
    case FormId::MapEditor: {
        auto *editor = static_cast<MapEditor *>(form);
        connect(editor, &MapEditor::loadLevelChosen, this, [this] {
            show(FormId::LoadFiles);
            get<Load_Files>()->setEditorMode();
        });
        connect(editor, &MapEditor::testPlayChosen, this, &Forms::testPlay);
        connect(editor, &MapEditor::wayRequested, this, [this](const LevelRecord &level) {
            showWay(FormId::MapEditor, level, LevelTable::TestMarker, QStringLiteral("this map"));
        });
        break;
    }
    }
    connect(form, &Form::closed, this, [this, id, form] { closed(id, form); });
}

void Forms::closed(FormId id, Form *form)
{
    switch (id) {
    case FormId::MainMenu:
        // The main menu stays loaded for the whole game: closing it is the end.
        end();
        break;
    case FormId::PlayGame:
        hide(FormId::PlayGame);
        show(FormId::MainMenu);
        break;
    case FormId::StartLevel:
        // Once a level is started, the play screen is what follows.
        if (static_cast<const Start_Level *>(form)->BackToMenu()) {
            hide(FormId::StartLevel);
            show(FormId::PlayGame);
        }
        break;
    case FormId::About:
        show(FormId::MainMenu);
        break;
    case FormId::GameScreen: {
        // A level from a file, and the end of the game, bring back the
        // load-level screen for the next choice; a test play the editor as
        // it was, unless the game is ending with the editor gone.
        const auto *screen = static_cast<const Game_Screen *>(form);
        if (screen->isWatching()) {
            if (isLoaded(m_watchedFrom))
                show(m_watchedFrom);
        } else if (screen->isTestPlay()) {
            if (isLoaded(FormId::MapEditor))
                show(FormId::MapEditor);
        } else {
            show(screen->isFileLevel() ? FormId::LoadFiles : FormId::PlayGame);
        }
        break;
    }
    case FormId::LoadFiles: {
        // Opened from the editor, closing leaves the editor behind it in front.
        const auto *files = static_cast<const Load_Files *>(form);
        if (files->BackToMenu() && files->isPlayMode())
            show(FormId::PlayGame);
        break;
    }
    case FormId::MapEditor:
        // A load-level screen opened from here would otherwise fill an editor
        // that is no longer there.
        if (const auto *files = qobject_cast<const Load_Files *>(loaded(FormId::LoadFiles));
            files && !files->isPlayMode())
            unload(FormId::LoadFiles);
        show(FormId::MainMenu);
        break;
    }
}

void Forms::handOver(FormId from, FormId to)
{
    show(to);
    // Quietly: a screen reader is to hear the window the player goes to,
    // not the first item of the one left behind.
    if (auto *menu = qobject_cast<Menu *>(loaded(from)))
        menu->resetHighlight();
    hide(from);
}

void Forms::testPlay(const LevelRecord &level)
{
    // A play screen already open belongs to a game, which a test play must
    // not take over.
    if (isLoaded(FormId::GameScreen))
        return;
    // A load-level screen the editor opened would fill the editor behind the
    // play screen's back.
    if (const auto *files = qobject_cast<const Load_Files *>(loaded(FormId::LoadFiles));
        files && !files->isPlayMode())
        unload(FormId::LoadFiles);
    // Prepared before its Form_Load, so that the play screen's first and only
    // build is the editor's map, which leaves the progress file alone.
    auto *screen = new Game_Screen;
    screen->prepareTestPlay(level);
    connect(screen, &Game_Screen::playReported, get<MapEditor>(), &MapEditor::showPlayReport);
    adopt(FormId::GameScreen, screen);
    show(FormId::GameScreen);
    hide(FormId::MapEditor);
}

void Forms::watch(FormId from, const LevelRun &run, const QString &label, const QString &title)
{
    // A play screen already open belongs to a game, which a watched run must
    // not take over.
    if (isLoaded(FormId::GameScreen))
        return;
    auto *screen = new Game_Screen;
    screen->prepareWatch(run, label, title);
    connect(screen, &Game_Screen::watchEnded, this, [this] { unload(FormId::GameScreen); });
    m_watchedFrom = from;
    adopt(FormId::GameScreen, screen);
    show(FormId::GameScreen);
    hide(from);
}

void Forms::showWay(FormId from, const LevelRecord &level, const QString &label, const QString &name)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const LevelReplay::Way way = LevelReplay::way(level);
    QApplication::restoreOverrideCursor();
    if (!way.run) {
        MessageBox::show(loaded(from), QStringLiteral("There is no way to show: ") + way.why);
        return;
    }
    watch(from, *way.run, label,
          QStringLiteral("A way through %1 at %2 moves a second").arg(name, QString::number(way.pace)));
}

void Forms::start()
{
    show(FormId::MainMenu);
}

Form *Forms::loaded(FormId id) const
{
    const auto found = m_forms.find(id);
    return found == m_forms.end() ? nullptr : found->second.data();
}

std::optional<FormId> Forms::idOf(const Form *form) const
{
    for (const auto &[id, loadedForm] : m_forms) {
        if (loadedForm == form)
            return id;
    }
    return std::nullopt;
}

Form *Forms::form(FormId id)
{
    if (Form *existing = loaded(id))
        return existing;
    return adopt(id, create(id));
}

Form *Forms::adopt(FormId id, Form *form)
{
    m_forms[id] = form;
    follow(id, form);
    connect(form, &Form::unloaded, this, [this, id, form] {
        if (loaded(id) == form)
            m_forms.erase(id);
        form->hide();
        form->deleteLater();
    });
    form->Form_Load();
    return form;
}

bool Forms::isLoaded(FormId id) const
{
    return loaded(id) != nullptr;
}

void Forms::show(FormId id)
{
    QWidget *window = form(id);
    window->show();
    window->raise();
    window->activateWindow();
}

void Forms::hide(FormId id)
{
    if (Form *window = loaded(id))
        window->hide();
}

bool Forms::unload(FormId id)
{
    Form *window = loaded(id);
    if (!window)
        return true;
    window->close();
    return window->isUnloaded();
}

void Forms::end()
{
    std::map<FormId, QPointer<Form>> forms;
    forms.swap(m_forms);
    for (auto &[id, form] : forms) {
        if (form)
            form->discard();
    }
    if (m_howToPlay)
        m_howToPlay->hide();
    emit ended();
}
