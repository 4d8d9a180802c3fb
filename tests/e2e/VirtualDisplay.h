// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

// An X server of the test's own: Xvfb on the first free display number,
// started with the object and stopped with it. Nothing else draws on it, and
// there is no window manager, so the game's windows are exactly what the
// server holds.
class VirtualDisplay
{
public:
    VirtualDisplay();
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay &) = delete;
    VirtualDisplay &operator=(const VirtualDisplay &) = delete;

    bool isRunning() const { return !m_name.isEmpty(); }
    // Why the server did not start; empty while it runs.
    QString errorString() const { return m_error; }

    // ":N"
    QString name() const { return m_name; }

    // The environment for a program that is to open its windows here: the
    // test's own, with the display set and Qt told to use the X server.
    QProcessEnvironment environment() const;

private:
    QProcess m_server;
    QString m_name;
    QString m_error;
};
