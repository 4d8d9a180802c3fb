#pragma once

#include "Menu.h"

// The window the game opens with and the only one whose closing ends it:
// leads to the play menu, the level editor, the about screen or the end.
class Main_Menu : public Menu
{
    Q_OBJECT

public:
    static constexpr FormId Id = FormId::MainMenu;

    explicit Main_Menu(FormHost &host);

    QLabel *Label2 = nullptr; // the credits box; not an item

protected:
    void activate() override;
    void Form_Unload(bool &cancel) override;
};
