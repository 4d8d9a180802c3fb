// SPDX-License-Identifier: GPL-3.0-or-later
#include "StartClock.h"

#include <QByteArrayList>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <set>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Xlib last: its macros clash with names in Qt's headers.
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

extern char **environ;

namespace {

// A window may be gone by the time its title is read or its drawing is
// watched (the game's own helper windows come and go); that is no error here.
int ignoreErrors(Display *, XErrorEvent *)
{
    return 0;
}

// This environment with the program's display and Qt's X11 platform.
QByteArrayList childEnvironment(const QString &display)
{
    QByteArrayList entries;
    for (char **entry = environ; *entry; ++entry) {
        const QByteArray text(*entry);
        if (text.startsWith("DISPLAY=") || text.startsWith("QT_QPA_PLATFORM=") || text.startsWith("WAYLAND_DISPLAY="))
            continue;
        entries.append(text);
    }
    entries.append("DISPLAY=" + display.toLocal8Bit());
    entries.append("QT_QPA_PLATFORM=xcb");
    return entries;
}

std::vector<char *> pointers(QByteArrayList &entries)
{
    std::vector<char *> list;
    for (QByteArray &entry : entries)
        list.push_back(entry.data());
    list.push_back(nullptr);
    return list;
}

} // namespace

StartClock::StartClock(const QString &display)
    : m_display(display)
{
    XSetErrorHandler(ignoreErrors);
    m_x = XOpenDisplay(display.toLocal8Bit().constData());
    if (!m_x)
        return;
    int damageErrors = 0;
    if (!XDamageQueryExtension(m_x, &m_damageEvents, &damageErrors))
        m_damageEvents = -1;
    // Top-level windows are the root's children: without a window manager
    // their creation and mapping are reported to whoever listens on the root.
    XSelectInput(m_x, DefaultRootWindow(m_x), SubstructureNotifyMask);
    XSync(m_x, False);
}

StartClock::~StartClock()
{
    if (m_x)
        XCloseDisplay(m_x);
}

bool StartClock::isTitled(unsigned long window, const QByteArray &title)
{
    for (const char *name : {"_NET_WM_NAME", "WM_NAME"}) {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0;
        unsigned long after = 0;
        unsigned char *value = nullptr;
        const Atom property = XInternAtom(m_x, name, False);
        if (XGetWindowProperty(m_x, window, property, 0, 1024, False, AnyPropertyType, &type, &format, &items,
                               &after, &value)
                == Success
            && value) {
            const bool same = format == 8 && QByteArray(reinterpret_cast<const char *>(value), qsizetype(items)) == title;
            XFree(value);
            if (same)
                return true;
        }
    }
    return false;
}

std::optional<StartClock::Start> StartClock::measure(const QString &program, const QString &title, int timeoutMs)
{
    if (!isReady())
        return std::nullopt;
    // Forget the windows of earlier runs.
    XSync(m_x, True);

    QByteArrayList environment = childEnvironment(m_display);
    std::vector<char *> envp = pointers(environment);
    QByteArrayList arguments{program.toLocal8Bit()};
    std::vector<char *> argv = pointers(arguments);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    const auto sinceStart = [start] { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); };
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return std::nullopt;

    const QByteArray wanted = title.toUtf8();
    std::set<Window> watched; // top-level windows whose drawing is reported
    std::set<Window> shown;   // those mapped with the title
    Start result;
    bool drawn = false;
    bool exited = false;
    const Clock::time_point deadline = start + std::chrono::milliseconds(timeoutMs);
    while (!drawn && Clock::now() < deadline) {
        while (!drawn && XPending(m_x) > 0) {
            XEvent event;
            XNextEvent(m_x, &event);
            if (event.type == CreateNotify) {
                // Watched from its creation, well before the program can
                // draw into it.
                XDamageCreate(m_x, event.xcreatewindow.window, XDamageReportNonEmpty);
                watched.insert(event.xcreatewindow.window);
            } else if (event.type == MapNotify && isTitled(event.xmap.window, wanted)) {
                result.mappedMs = sinceStart();
                shown.insert(event.xmap.window);
                if (!watched.count(event.xmap.window)) {
                    XDamageCreate(m_x, event.xmap.window, XDamageReportNonEmpty);
                    watched.insert(event.xmap.window);
                }
            } else if (event.type == m_damageEvents + XDamageNotify) {
                const auto *damage = reinterpret_cast<const XDamageNotifyEvent *>(&event);
                if (shown.count(damage->drawable)) {
                    result.drawnMs = sinceStart();
                    drawn = true;
                }
            }
        }
        if (drawn)
            break;
        int status = 0;
        if (wait4(pid, &status, WNOHANG, nullptr) == pid) {
            exited = true;
            break;
        }
        pollfd connection{ConnectionNumber(m_x), POLLIN, 0};
        poll(&connection, 1, 5);
    }

    if (!exited) {
        kill(pid, SIGTERM);
        int status = 0;
        rusage usage{};
        while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
        }
        const auto ms = [](const timeval &time) { return double(time.tv_sec) * 1000 + double(time.tv_usec) / 1000; };
        result.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
    }
    if (!drawn)
        return std::nullopt;
    return result;
}
