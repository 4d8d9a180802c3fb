// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QString>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

// Runs the rest of a test as the ordinary user "nobody" when the suite runs
// as root, for whom permission bits stop nothing: a check of what a player
// may not read or write proves nothing otherwise. Root stays the saved
// user, so the test becomes root again when the object goes.
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
        // The real user changes too, since access() and so QFileInfo judge
        // by it; root stays the saved user, to come back to.
        if (nobody && ::setresgid(nobody->pw_gid, nobody->pw_gid, 0) == 0) {
            m_dropped = ::setresuid(nobody->pw_uid, nobody->pw_uid, 0) == 0;
            if (!m_dropped)
                (void)::setresgid(0, 0, 0);
        }
    }
    ~AsNobody()
    {
        if (m_dropped && ::setresuid(0, 0, 0) == 0)
            (void)::setresgid(0, 0, 0);
    }
    AsNobody(const AsNobody &) = delete;
    AsNobody &operator=(const AsNobody &) = delete;

    // False when the suite runs as root and could not become nobody.
    bool ordinary() const { return m_dropped || ::geteuid() != 0; }

private:
    bool m_dropped = false;
};
