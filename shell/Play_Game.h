// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Menu.h"

// The play menu: a new game, a level from the level selection, a level from
// a file, or back to the main menu.
class Play_Game : public Menu
{
    Q_OBJECT

public:
    Play_Game();

signals:
    void newGameChosen();
    void startFromLevelChosen();
    void loadFromFileChosen();
    void mainMenuChosen();

protected:
    void activate() override;
};
