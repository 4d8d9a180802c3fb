#include "ProgramDir.h"

#include <QCoreApplication>

namespace {

QString &overridden()
{
    static QString directory;
    return directory;
}

} // namespace

QString ProgramDir::path()
{
    if (!overridden().isEmpty())
        return overridden();
    return QCoreApplication::applicationDirPath();
}

void ProgramDir::setPath(const QString &directory)
{
    overridden() = directory;
}

QString ProgramDir::join(const QString &directory, const QString &fileName)
{
    if (directory.endsWith(u'/') || directory.endsWith(u'\\'))
        return directory + fileName;
    return directory + u'/' + fileName;
}
