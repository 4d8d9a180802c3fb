// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// A window of the game: fixed size in twips, centred on the screen when it
// first opens, and closed only through Form_Unload, which may cancel. A
// screen reader finds in it only the controls that are shown. A
// window never opens, shows or closes another: it says what the player asked
// for through its signals, and the game's navigation decides what follows.
class Form : public QWidget
{
    Q_OBJECT

public:
    enum class Frame {
        Tool,   // small title bar with only a close button
        Dialog, // fixed border without minimise or maximise buttons
    };

    Form(const QString &caption, int clientWidthTwips, int clientHeightTwips, Frame frame);

    // Runs when the window is created, before anything else uses it.
    virtual void Form_Load() {}

    // True once the window has been unloaded (or the game ended); it is then
    // hidden and deleted as soon as control returns to the event loop.
    bool isUnloaded() const { return m_unloaded; }

    // Marks the window gone without running Form_Unload: the game is ending.
    void discard();

    // The first showing places the window before it reaches the screen.
    void setVisible(bool visible) override;

signals:
    // The player or the game closed the window and Form_Unload let it go;
    // what comes next is the navigation's to decide. Not sent when the game
    // ends and takes every window with it.
    void closed();
    // The window is gone from the game, by closing or by the game's end.
    void unloaded();

protected:
    // Runs when the window is closed by the user or by the game; setting
    // cancel keeps the window open.
    virtual void Form_Unload(bool &cancel) { Q_UNUSED(cancel); }

    // Escape does what the close box does, Form_Unload and all; for the
    // windows that a player leaves as readily as they came.
    void closeOnEscape();

    void closeEvent(QCloseEvent *event) override;

private:
    // Puts the window where it first opens.
    void place();

    bool m_unloaded = false;
    bool m_placed = false;
};
