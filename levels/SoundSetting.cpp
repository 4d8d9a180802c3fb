// SPDX-License-Identifier: GPL-3.0-or-later
#include "SoundSetting.h"

#include "ProgramDir.h"
#include "RegularFile.h"

#include <QFile>

namespace {

// "off" with a byte-order mark, spaces and a line end fits well within this;
// a huge file is never read whole.
constexpr qint64 ReadLimit = 64;

} // namespace

QString SoundSetting::path()
{
    return ProgramDir::filePath(QStringLiteral("Sound.Log"));
}

bool SoundSetting::isOn()
{
    const std::unique_ptr<QFile> file = RegularFile::openForReading(path());
    if (!file)
        return true;
    QByteArray text = file->read(ReadLimit);
    // Some text editors put a byte-order mark before what they save.
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    return text.trimmed().toLower() != "off";
}

bool SoundSetting::setOn(bool on)
{
    return RegularFile::replace(path(), content(on), RegularFile::InPlace::WhenFolderRefuses);
}

QByteArray SoundSetting::content(bool on)
{
    return on ? QByteArrayLiteral("on\r\n") : QByteArrayLiteral("off\r\n");
}
