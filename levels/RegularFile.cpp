// SPDX-License-Identifier: GPL-3.0-or-later
#include "RegularFile.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <utility>
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

// A new, empty file beside the target, named after it so that a stray one
// is recognisable, and never matching the level list's "*.lvl".
Descriptor createTemporary(const QByteArray &target, mode_t mode, QByteArray &name)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        name = target + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".new";
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
    return true;
}
