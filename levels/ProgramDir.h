#pragma once

#include <QString>

// The one place that says where the game keeps its level files and LGT.Log:
// the directory of the executable. Tests point it at a folder of their own.
class ProgramDir
{
public:
    static QString path();
    static void setPath(const QString &directory);

    // The directory and a file name joined by one separator; a directory that
    // already ends in a separator (a root) gets none added.
    static QString join(const QString &directory, const QString &fileName);
    static QString filePath(const QString &fileName) { return join(path(), fileName); }
};
