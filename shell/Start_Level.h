// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Menu.h"

// The level selection: every built-in level up to the furthest one started,
// as the progress file records it, can be started from here; the others are
// locked. Built afresh on every opening, so it always shows the file as it
// stands.
class Start_Level : public Menu
{
    Q_OBJECT

public:
    // The item after the twenty levels.
    static constexpr int GoBack = 20;

    Start_Level();

    // Unlocks the levels the progress file allows.
    void Form_Load() override;

    // True until a level is started: leaving the window otherwise returns to
    // the play menu.
    bool BackToMenu() const { return m_backToMenu; }
    // The furthest unlocked level item, where Up from "Go Back" lands.
    int MaxLevel() const { return m_maxLevel; }

signals:
    // An unlocked level, by its number (1..20).
    void levelChosen(int level);
    void goBackChosen();

protected:
    int above(int c) const override;
    int below(int c) const override;
    void activate() override;

private:
    bool m_backToMenu = true;
    int m_maxLevel = 0;
};
