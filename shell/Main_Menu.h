// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Menu.h"

// The window the game opens with and the only one whose closing ends it:
// leads to the play menu, the level editor, the about screen or the end.
class Main_Menu : public Menu
{
    Q_OBJECT

public:
    Main_Menu();

    QLabel *Label2 = nullptr; // the credits box; not an item

signals:
    void playGameChosen();
    void levelCreatorChosen();
    void aboutChosen();
    void exitChosen();

protected:
    void activate() override;
};
