// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BestResults.h"
#include "Menu.h"

#include <QPointer>

#include <functional>

class BestTable;
class QPushButton;

// The level selection: every built-in level up to the furthest one started,
// as the progress file records it, can be started from here; the others are
// locked. Built afresh on every opening, so it always shows the file as it
// stands. The highlighted level's best shows in a line above the levels;
// below them, buttons with keys of their own open the table of every best
// (B), play the level's best run back (W) and show a way through it (S).
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

    // Says whether a level (1..20) has a best run to watch; until one is
    // given, a level with a best result has one.
    using BestRunCheck = std::function<bool(int level)>;
    void setBestRunCheck(BestRunCheck check);

    // Opens the table of every level's best, or brings it to the front.
    void showBestResults();

    QLabel *BestLine = nullptr; // the highlighted level's best
    QPushButton *BestButton = nullptr;
    QPushButton *WatchButton = nullptr;
    QPushButton *WayButton = nullptr;
    // The table once it has been opened.
    BestTable *bestTable() const;

signals:
    // An unlocked level, by its number (1..20).
    void levelChosen(int level);
    void goBackChosen();
    // The player asks to see the level's best run played back.
    void watchRequested(int level);
    // The player asks to be shown a way through the level.
    void wayRequested(int level);

protected:
    int above(int c) const override;
    int below(int c) const override;
    void activate() override;
    void highlightMoved(int index) override;

private:
    // The highlighted level's number, if it is a level that can be played.
    int playableLevel() const;
    void watch();
    void showWay();

    bool m_backToMenu = true;
    int m_maxLevel = 0;
    BestResults::Table m_best;
    BestRunCheck m_hasBestRun;
    QPointer<BestTable> m_bestTable;
};
