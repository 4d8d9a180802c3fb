#pragma once

#include "ProgramDir.h"

#include <QFile>
#include <QTemporaryDir>

// A program directory of the test's own: the game's level files and LGT.Log
// go here and vanish with it.
class ScratchDir
{
public:
    ScratchDir() { ProgramDir::setPath(m_dir.path()); }
    ~ScratchDir() { ProgramDir::setPath(QString()); }
    ScratchDir(const ScratchDir &) = delete;
    ScratchDir &operator=(const ScratchDir &) = delete;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(filePath(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }

    QByteArray read(const QString &name) const
    {
        QFile file(filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    bool exists(const QString &name) const { return QFile::exists(filePath(name)); }

private:
    QTemporaryDir m_dir;
};
