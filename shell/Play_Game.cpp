// SPDX-License-Identifier: GPL-3.0-or-later
#include "Play_Game.h"

#include <QLabel>

Play_Game::Play_Game()
    : Menu(QStringLiteral("Play Game"), 4695, 2415)
{
    addItems({QStringLiteral("Start new game"), QStringLiteral("Start from level"),
              QStringLiteral("Load level from file"), QStringLiteral("Back to main menu")});
    closeOnEscape();
}

void Play_Game::activate()
{
    switch (current()) {
    case 0:
        emit newGameChosen();
        break;
    case 1:
        emit startFromLevelChosen();
        break;
    case 2:
        emit loadFromFileChosen();
        break;
    case 3:
        emit mainMenuChosen();
        break;
    default:
        break;
    }
}
