#include "Play_Game.h"

#include <QLabel>

Play_Game::Play_Game(FormHost &host)
    : Menu(host, Id, QStringLiteral("Play Game"), 4695, 2415)
{
    addItems({QStringLiteral("Start new game"), QStringLiteral("Start from level"),
              QStringLiteral("Load level from file"), QStringLiteral("Back to main menu")});
}

void Play_Game::activate()
{
    switch (current()) {
    case 0:
        handOver(FormId::GameScreen);
        break;
    case 1:
        handOver(FormId::StartLevel);
        break;
    case 2:
        handOver(FormId::LoadFiles);
        break;
    case 3:
        handOver(FormId::MainMenu);
        break;
    default:
        break;
    }
}

void Play_Game::Form_Unload(bool &cancel)
{
    Q_UNUSED(cancel);
    host().hide(Id);
    host().show(FormId::MainMenu);
}
