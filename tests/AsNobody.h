#pragma once

#include <QFile>
#include <QString>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

// Runs the rest of a test as the ordinary user "nobody" when the suite runs
// as root, for whom permission bits stop nothing: a check of what a player
// may not read or write proves nothing otherwise. Only the effective user
// changes, so the test becomes root again when the object goes.
class AsNobody
{
public:
    // Lets nobody reach the folder, or also write in it: root's scratch
    // folders are private.
    enum Access { Read, Write };
    static bool openUp(const QString &folder, Access access = Read)
    {
        return ::chmod(QFile::encodeName(folder).constData(), access == Write ? 0777 : 0755) == 0;
    }

    AsNobody()
    {
        if (::geteuid() != 0)
            return;
        const passwd *nobody = ::getpwnam("nobody");
        if (nobody && ::setegid(nobody->pw_gid) == 0) {
            m_dropped = ::seteuid(nobody->pw_uid) == 0;
            if (!m_dropped)
                (void)::setegid(0);
        }
    }
    ~AsNobody()
    {
        if (m_dropped && ::seteuid(0) == 0)
            (void)::setegid(0);
    }
    AsNobody(const AsNobody &) = delete;
    AsNobody &operator=(const AsNobody &) = delete;

    // False when the suite runs as root and could not become nobody.
    bool ordinary() const { return m_dropped || ::geteuid() != 0; }

private:
    bool m_dropped = false;
};
