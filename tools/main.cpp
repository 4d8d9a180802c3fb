// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelTool.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    LevelTool tool(out, err);
    return tool.run(app.arguments().mid(1));
}
