#pragma once

#include "Menu.h"

// The play menu: a new game, a level from the level selection, a level from
// a file, or back to the main menu.
class Play_Game : public Menu
{
    Q_OBJECT

public:
    static constexpr FormId Id = FormId::PlayGame;

    explicit Play_Game(FormHost &host);

protected:
    void activate() override;
    void Form_Unload(bool &cancel) override;
};
