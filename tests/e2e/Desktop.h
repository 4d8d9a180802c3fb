// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QList>
#include <QMap>
#include <QPoint>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

class VirtualDisplay;

// What a person sees and does at the virtual display, through the X server
// alone: the windows on screen by their titles, keys, mouse clicks, the close
// box, and screenshots. It knows nothing of the game's internals.
class Desktop
{
public:
    using WindowId = quint32;

    // xclose is the helper that sends WM_DELETE_WINDOW, the message a window
    // manager sends when the user clicks a close box.
    Desktop(const VirtualDisplay &display, const QString &xclose);

    // Every window that is mapped and viewable, with its title.
    QMap<WindowId, QString> visibleWindows() const;
    QList<WindowId> visibleWindowsTitled(const QString &title) const;

    // Polls until a window with exactly this title is on screen; 0 when none
    // came within the time.
    WindowId waitForWindow(const QString &title, int timeoutMs = DefaultTimeoutMs) const;
    // Polls until no window with this title is on screen.
    bool waitUntilGone(const QString &title, int timeoutMs = DefaultTimeoutMs) const;
    // Polls until the screen holds no window at all.
    bool waitUntilEmpty(int timeoutMs = DefaultTimeoutMs) const;
    // Polls until the screen holds exactly one window, titled so; 0 otherwise.
    WindowId waitForOnly(const QString &title, int timeoutMs = DefaultTimeoutMs) const;

    // The window this one is a dialog of, from WM_TRANSIENT_FOR; 0 if none.
    WindowId transientFor(WindowId window) const;

    // The sizes of the icons the window offers the desktop (_NET_WM_ICON),
    // as "32x32"; empty when it offers none.
    QStringList iconSizes(WindowId window) const;

    // Gives the window the keyboard focus, as clicking its title would.
    bool focus(WindowId window) const;
    // The window that has the keyboard focus; 0 when none of them has it.
    WindowId focusedWindow() const;
    // X key names ("Down", "Return", "y"), pressed and released one by one.
    bool pressKeys(const QStringList &keys, int delayMs = 25) const;
    // Types the text key by key; a line break is the Return key.
    bool typeText(const QString &text) const;
    // The mouse buttons by their X numbers; the middle one pastes the
    // selection under X.
    enum class Button { Left = 1, Middle = 2, Right = 3 };
    // Moves the pointer to a point of the window's client area and clicks
    // the button, twice for a double click.
    bool click(WindowId window, QPoint point, int clicks = 1, Button button = Button::Left) const;
    // Presses the button on the first point, moves through the others and
    // lets go on the last.
    bool drag(WindowId window, const QList<QPoint> &points, Button button = Button::Left) const;
    // The user's close box.
    bool close(WindowId window) const;

    // A PNG of one window, or of the whole screen for window 0.
    bool screenshot(const QString &path, WindowId window = 0) const;
    // What the window shows, as the server has it; null when it could not
    // be read.
    QImage grab(WindowId window) const;

    // What went wrong in the last call that failed, for the test's message.
    QString lastError() const { return m_lastError; }
    // The visible windows' titles, for failure messages.
    QString describeScreen() const;

    static constexpr int DefaultTimeoutMs = 15000;

private:
    struct Result
    {
        bool ok = false;
        QByteArray output;
    };
    Result run(const QString &program, const QStringList &arguments, int timeoutMs = DefaultTimeoutMs) const;
    bool xdotool(const QStringList &arguments) const;
    WindowId rootWindow() const;

    const QProcessEnvironment m_environment;
    const QString m_xclose;
    mutable QString m_lastError;
    mutable WindowId m_root = 0;
};
