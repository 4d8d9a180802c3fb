// SPDX-License-Identifier: GPL-3.0-or-later
#include "Main_Menu.h"

#include "Fonts.h"
#include "Twips.h"

#include <QLabel>

Main_Menu::Main_Menu()
    : Menu(QStringLiteral("Main Menu"), 4695, 4110)
{
    addItems({QStringLiteral("Play Game"), QStringLiteral("Level Creator"),
              QStringLiteral("About this game"), QStringLiteral("Exit game")});

    Label2 = new QLabel(QStringLiteral("This game was builted by:\r\n"
                                       "Ilan Dorvesh\r\n"
                                       "20 Levels Builted by:\r\n"
                                       "Gal Prennick\r\n"
                                       "Thanks to:\r\n"
                                       "www.veltrano-mazes.example"),
                        this);
    Label2->setGeometry(Twips::rect(480, 2160, 3735, 1455));
    Label2->setFont(Fonts::msSansSerif(9.75));
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label2->setAutoFillBackground(true);
    paint(Label2, NormalBack, NormalText);
    // A screen reader reads the box as one sentence, not its line breaks: a
    // heading and its name run on, and the next heading follows a comma.
    const QStringList lines = Label2->text().split(QStringLiteral("\r\n"));
    QString spoken;
    for (const QString &line : lines) {
        if (!spoken.isEmpty())
            spoken += spoken.endsWith(u':') ? QStringLiteral(" ") : QStringLiteral(", ");
        spoken += line;
    }
    Label2->setAccessibleName(spoken);
}

void Main_Menu::activate()
{
    switch (current()) {
    case 0:
        emit playGameChosen();
        break;
    case 1:
        emit levelCreatorChosen();
        break;
    case 2:
        emit aboutChosen();
        break;
    case 3:
        emit exitChosen();
        break;
    default:
        break;
    }
}
