// SPDX-License-Identifier: GPL-3.0-or-later
#include "VirtualDisplay.h"

#include <QDeadlineTimer>

namespace {

constexpr int StartTimeoutMs = 20000;
constexpr int StopTimeoutMs = 5000;

} // namespace

VirtualDisplay::VirtualDisplay()
{
    // -displayfd makes the server pick a free display number itself and write
    // it to our pipe once it accepts connections, so several test runs (and
    // the engineers' own servers) never race for one number.
    m_server.setProgram(QStringLiteral("Xvfb"));
    // -noreset: by default the server resets whenever its last client
    // leaves, and turns away whoever connects meanwhile; the tests' tools
    // come and go all the time, between games too.
    m_server.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-noreset"),
                           QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                           QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    m_server.setProcessChannelMode(QProcess::SeparateChannels);
    m_server.start();
    if (!m_server.waitForStarted(StartTimeoutMs)) {
        m_error = QStringLiteral("Xvfb did not start: ") + m_server.errorString();
        return;
    }

    const QDeadlineTimer deadline(StartTimeoutMs);
    QByteArray announced;
    while (!announced.contains('\n') && !deadline.hasExpired() && m_server.state() == QProcess::Running) {
        m_server.waitForReadyRead(int(deadline.remainingTime()));
        announced += m_server.readAllStandardOutput();
    }
    bool ok = false;
    const int number = announced.trimmed().toInt(&ok);
    if (!announced.contains('\n') || !ok) {
        m_error = QStringLiteral("Xvfb announced no display: ") + QString::fromLocal8Bit(m_server.readAllStandardError());
        m_server.kill();
        m_server.waitForFinished(StopTimeoutMs);
        return;
    }
    m_name = u':' + QString::number(number);
}

VirtualDisplay::~VirtualDisplay()
{
    if (m_server.state() == QProcess::NotRunning)
        return;
    m_server.terminate();
    if (!m_server.waitForFinished(StopTimeoutMs)) {
        m_server.kill();
        m_server.waitForFinished(StopTimeoutMs);
    }
}

QProcessEnvironment VirtualDisplay::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_name);
    // The rest of the suite runs on Qt's offscreen platform; these programs
    // must open real windows on this server instead.
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return environment;
}
