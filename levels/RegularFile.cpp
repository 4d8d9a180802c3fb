// SPDX-License-Identifier: GPL-3.0-or-later
#include "RegularFile.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <utility>
#include <vector>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The descriptor closed on every way out unless it is handed on.
class Descriptor
{
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    {
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    int release() { return std::exchange(m_fd, -1); }
    // Closing can report a write that failed late (on network file systems).
    bool close() { return ::close(release()) == 0; }

private:
    int m_fd;
};

bool isRegular(int fd, struct stat *status = nullptr)
{
    struct stat own;
    struct stat &info = status ? *status : own;
    return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *next = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        next += written;
        left -= written;
    }
    // The file must be on the disk before it takes the old one's place, or
    // a crash just after could leave an empty file under the name.
    return ::fsync(fd) == 0;
}

constexpr QByteArrayView TemporaryPrefix(".veltrano-");
constexpr QByteArrayView TemporarySuffix(".new");
constexpr qsizetype UniqueLength = 6;

// A save that has not touched its temporary file for this long was cut
// short: a save writes its file in one go, and the margin covers a stalled
// disk and a network file server whose clock runs ahead of the player's.
constexpr time_t StaleSeconds = 10 * 60;

bool isUniquePart(QByteArrayView text)
{
    const auto isDigit = [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'); };
    return text.size() == UniqueLength && std::all_of(text.begin(), text.end(), isDigit);
}

// Exactly the names createTemporary() gives: the prefix, six lowercase
// letters or digits and ".new". A player's own file, such as
// "castle.lvl.backup.new", never has that form and is never taken for one.
bool isTemporaryName(QByteArrayView name)
{
    if (name.size() != TemporaryPrefix.size() + UniqueLength + TemporarySuffix.size()
        || !name.startsWith(TemporaryPrefix) || !name.endsWith(TemporarySuffix))
        return false;
    return isUniquePart(name.sliced(TemporaryPrefix.size(), UniqueLength));
}

// A new, empty file in the target's folder. Its name is short, so that a
// target whose name is as long as the file system allows still gets one,
// and never matches the level list's "*.lvl".
Descriptor createTemporary(const QByteArray &target, mode_t mode, QByteArray &name)
{
    const QByteArray folder = target.first(target.lastIndexOf('/') + 1);
    static constexpr char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    for (int attempt = 0; attempt < 16; ++attempt) {
        QByteArray unique(UniqueLength, '0');
        for (char &c : unique)
            c = digits[QRandomGenerator::global()->bounded(36)];
        name = folder;
        name.append(TemporaryPrefix).append(unique).append(TemporarySuffix);
        // O_EXCL also refuses a link someone put under the name.
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return Descriptor(fd);
    }
    return Descriptor(-1);
}

bool writeInPlace(const QByteArray &target, const QByteArray &bytes)
{
    // Never through a link, and never into a pipe or a device.
    Descriptor file(::open(target.constData(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.isOpen() || !isRegular(file.get()) || ::ftruncate(file.get(), 0) != 0)
        return false;
    return writeAll(file.get(), bytes) && file.close();
}

} // namespace

std::unique_ptr<QFile> RegularFile::openForReading(const QByteArray &nativePath)
{
    // Without O_NONBLOCK, opening a pipe waits for a writer that never comes.
    Descriptor fd(::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.isOpen() || !isRegular(fd.get()))
        return nullptr;
    auto file = std::make_unique<QFile>();
    if (!file->open(fd.get(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return nullptr;
    fd.release();
    return file;
}

bool RegularFile::occupied(const QString &path)
{
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool RegularFile::replace(const QString &path, const QByteArray &bytes, InPlace inPlace)
{
    // No name means no folder to write in, not the current directory.
    if (path.isEmpty())
        return false;
    const QByteArray target = QFile::encodeName(path);
    struct stat old;
    const bool replacesRegularFile = ::lstat(target.constData(), &old) == 0 && S_ISREG(old.st_mode);
    // 0666 is narrowed by the player's umask, as for any new file.
    const mode_t mode = replacesRegularFile ? old.st_mode & 07777 : 0666;

    QByteArray temporaryName;
    Descriptor temporary = createTemporary(target, mode, temporaryName);
    if (!temporary.isOpen()) {
        const int refusal = errno;
        // A folder the player may not add to can still hold a file the
        // player may write, such as a progress file made writable on its own.
        if (inPlace == InPlace::WhenFolderRefuses && replacesRegularFile && (refusal == EACCES || refusal == EPERM))
            return writeInPlace(target, bytes);
        return false;
    }
    const bool written = (!replacesRegularFile || ::fchmod(temporary.get(), mode) == 0)
                         && writeAll(temporary.get(), bytes) && temporary.close();
    // rename() replaces the directory entry itself: a link there is replaced,
    // not followed.
    if (!written || ::rename(temporaryName.constData(), target.constData()) != 0) {
        ::unlink(temporaryName.constData());
        return false;
    }
    removeStaleTemporaries(target.first(target.lastIndexOf('/') + 1));
    return true;
}

void RegularFile::removeStaleTemporaries(const QByteArray &nativeFolder)
{
    DIR *listing = ::opendir(nativeFolder.isEmpty() ? "." : nativeFolder.constData());
    if (!listing)
        return;
    // Names and checks are taken relative to the folder as it was opened,
    // so a folder swapped for a link meanwhile changes nothing.
    const int directory = ::dirfd(listing);
    std::vector<QByteArray> stale;
    const time_t now = ::time(nullptr);
    while (const dirent *item = ::readdir(listing)) {
        const QByteArray name(item->d_name);
        struct stat info;
        // Only a regular file itself: a link is never followed nor removed.
        if (isTemporaryName(name) && ::fstatat(directory, item->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0
            && S_ISREG(info.st_mode) && now - info.st_mtime > StaleSeconds)
            stale.push_back(name);
    }
    // A folder the player may not write in keeps them; that is no failure.
    for (const QByteArray &name : stale)
        ::unlinkat(directory, name.constData(), 0);
    ::closedir(listing);
}
