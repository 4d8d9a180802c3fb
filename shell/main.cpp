// SPDX-License-Identifier: GPL-3.0-or-later
#include "Forms.h"
#include "Pictures.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // The game reads no command line: Qt sees only the program's own name.
    Q_UNUSED(argc);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    app.setApplicationName(QStringLiteral("Veltrano"));
    // Every window, message boxes included, shows the game's icon.
    app.setWindowIcon(Pictures::windowIcon());
    // Tool windows come and go as the game hands over; only the main menu's
    // "Exit game" or close box ends the program.
    app.setQuitOnLastWindowClosed(false);

    Forms forms;
    QObject::connect(&forms, &Forms::ended, &app, &QCoreApplication::quit);
    forms.start();
    return app.exec();
}
