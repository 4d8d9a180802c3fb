// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FormId.h"

#include <QObject>
#include <QPointer>

#include <map>
#include <optional>

class Form;
class HowToPlay;
class LevelRun;
struct LevelRecord;

// The game's windows and the way between them. Each window exists at most
// once and is created, with its Form_Load, the first time anything shows or
// touches it; hidden windows keep their state, and an unloaded window is
// deleted so that its next use builds it afresh. The windows only say what
// the player asked for; the navigation table here decides what follows.
class Forms : public QObject
{
    Q_OBJECT

public:
    explicit Forms(QObject *parent = nullptr);
    ~Forms() override;

    // Opens the game: the main menu alone, with "Play Game" highlighted.
    void start();

    // The window, created first if it is not loaded.
    Form *form(FormId id);
    // The window if it is loaded, without creating it.
    Form *loaded(FormId id) const;
    bool isLoaded(FormId id) const;
    // The role of a loaded window.
    std::optional<FormId> idOf(const Form *form) const;

    template<class T>
    T *get()
    {
        return static_cast<T *>(form(formIdOf<T>));
    }

    // Creates the window if needed, shows it and brings it to the front.
    void show(FormId id);
    // Hides a loaded window and keeps its state; does nothing otherwise.
    void hide(FormId id);
    // Runs the window's Form_Unload and discards it unless that cancels.
    // Returns true when the window is gone (or was never loaded).
    bool unload(FormId id);
    // Ends the game at once: every window closes and no Form_Unload runs.
    void end();

    // The page on how to play that F1 opens from every window, in front;
    // the same one every time.
    HowToPlay *showHowToPlay(QWidget *over = nullptr);
    // The page if it has been opened, without opening it.
    HowToPlay *howToPlay() const;

signals:
    // The game has ended; the application leaves its event loop.
    void ended();

protected:
    // F1 in any of the game's windows opens the page on how to play, and
    // goes no further: it neither starts a level's clock nor moves a menu.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Form *create(FormId id);
    // The navigation table: what each window's requests lead to.
    void follow(FormId id, Form *form);
    // What follows when the player or the game closes a window.
    void closed(FormId id, Form *form);
    // Leaves a menu for another window: shows it, puts the menu's highlight
    // back on its first item for its return, and hides the menu.
    void handOver(FormId from, FormId to);
    // The editor's F5: a play screen of its own plays the map while the
    // editor waits hidden, everything in it kept, for the play screen to
    // close.
    void testPlay(const LevelRecord &level);
    // A run played for the player to watch: a play screen of its own shows
    // it while the window it was asked from waits hidden, and that window
    // comes back when a key ends it.
    void watch(FormId from, const LevelRun &run, const QString &label, const QString &title);
    // "Show me a way": the checker's route through the level, watched; or,
    // for a level with no route in time to show, a word why.
    void showWay(FormId from, const LevelRecord &level, const QString &label, const QString &name);
    // Registers a newly made window, connects its rows and runs its Form_Load.
    Form *adopt(FormId id, Form *form);

    std::map<FormId, QPointer<Form>> m_forms;
    // The window a watched run was asked from.
    FormId m_watchedFrom = FormId::MainMenu;
    QPointer<HowToPlay> m_howToPlay;
};
