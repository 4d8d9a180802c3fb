// SPDX-License-Identifier: GPL-3.0-or-later
#include "Desktop.h"

#include "VirtualDisplay.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

namespace {

// How long to let the game run between two looks at the screen.
constexpr unsigned long PollIntervalMs = 50;

// A window id as the X tools print and take it.
QString idArgument(Desktop::WindowId window)
{
    return QString::number(window);
}

} // namespace

Desktop::Desktop(const VirtualDisplay &display, const QString &xclose)
    : m_environment(display.environment())
    , m_xclose(xclose)
{
}

Desktop::Result Desktop::run(const QString &program, const QStringList &arguments, int timeoutMs) const
{
    QProcess process;
    process.setProcessEnvironment(m_environment);
    process.start(program, arguments);
    const QString command = program + u' ' + arguments.join(u' ');
    if (!process.waitForStarted(timeoutMs)) {
        m_lastError = command + QStringLiteral(": ") + process.errorString();
        return {};
    }
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        m_lastError = command + QStringLiteral(": no answer within ") + QString::number(timeoutMs) + QStringLiteral(" ms");
        return {};
    }
    Result result;
    result.output = process.readAllStandardOutput();
    result.ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!result.ok)
        m_lastError = command + QStringLiteral(": ") + QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    return result;
}

Desktop::WindowId Desktop::rootWindow() const
{
    if (m_root == 0) {
        // "xwininfo: Window id: 0x50d (the root window) (has no name)"
        static const QRegularExpression root(QStringLiteral("Window id: (0x[0-9a-fA-F]+)"));
        const Result info = run(QStringLiteral("xwininfo"), {QStringLiteral("-root")});
        const QRegularExpressionMatch match = root.match(QString::fromLatin1(info.output));
        if (match.hasMatch())
            m_root = match.captured(1).toUInt(nullptr, 16);
    }
    return m_root;
}

bool Desktop::xdotool(const QStringList &arguments) const
{
    return run(QStringLiteral("xdotool"), arguments).ok;
}

QMap<Desktop::WindowId, QString> Desktop::visibleWindows() const
{
    QMap<WindowId, QString> windows;
    // Without a window manager every top-level window is a child of the root
    // window, which itself counts as visible and is left out. The search
    // exits with 1 when nothing is on screen, which is an answer too.
    const Result found = run(QStringLiteral("xdotool"),
                             {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--maxdepth"),
                              QStringLiteral("1"), QStringLiteral("--name"), QStringLiteral("")});
    const QList<QByteArray> ids = found.output.split('\n');
    for (const QByteArray &line : ids) {
        bool ok = false;
        const WindowId window = line.trimmed().toUInt(&ok);
        if (!ok || window == rootWindow())
            continue;
        // A window can vanish between the search and this question; it is
        // then simply no longer on screen.
        Result name = run(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), idArgument(window)});
        if (!name.ok)
            continue;
        if (name.output.endsWith('\n'))
            name.output.chop(1);
        windows.insert(window, QString::fromUtf8(name.output));
    }
    return windows;
}

QList<Desktop::WindowId> Desktop::visibleWindowsTitled(const QString &title) const
{
    QList<WindowId> matching;
    const QMap<WindowId, QString> windows = visibleWindows();
    for (auto window = windows.cbegin(); window != windows.cend(); ++window) {
        if (window.value() == title)
            matching.append(window.key());
    }
    return matching;
}

Desktop::WindowId Desktop::waitForWindow(const QString &title, int timeoutMs) const
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const QList<WindowId> found = visibleWindowsTitled(title);
        if (!found.isEmpty())
            return found.first();
        if (deadline.hasExpired())
            break;
        QThread::msleep(PollIntervalMs);
    }
    m_lastError = QStringLiteral("no window \"") + title + QStringLiteral("\" came up; on screen: ") + describeScreen();
    return 0;
}

bool Desktop::waitUntilGone(const QString &title, int timeoutMs) const
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (visibleWindowsTitled(title).isEmpty())
            return true;
        if (deadline.hasExpired())
            break;
        QThread::msleep(PollIntervalMs);
    }
    m_lastError = QStringLiteral("the window \"") + title + QStringLiteral("\" stayed; on screen: ") + describeScreen();
    return false;
}

bool Desktop::waitUntilEmpty(int timeoutMs) const
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (visibleWindows().isEmpty())
            return true;
        if (deadline.hasExpired())
            break;
        QThread::msleep(PollIntervalMs);
    }
    m_lastError = QStringLiteral("windows stayed on screen: ") + describeScreen();
    return false;
}

Desktop::WindowId Desktop::waitForOnly(const QString &title, int timeoutMs) const
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const QMap<WindowId, QString> windows = visibleWindows();
        if (windows.size() == 1 && windows.first() == title)
            return windows.firstKey();
        if (deadline.hasExpired())
            break;
        QThread::msleep(PollIntervalMs);
    }
    m_lastError = QStringLiteral("expected only \"") + title + QStringLiteral("\" on screen, found: ") + describeScreen();
    return 0;
}

QString Desktop::describeScreen() const
{
    QStringList titles;
    for (const QString &title : visibleWindows())
        titles.append(u'"' + title + u'"');
    return titles.isEmpty() ? QStringLiteral("no window") : titles.join(QStringLiteral(", "));
}

Desktop::WindowId Desktop::transientFor(WindowId window) const
{
    const Result property = run(QStringLiteral("xprop"),
                                {QStringLiteral("-id"), idArgument(window), QStringLiteral("WM_TRANSIENT_FOR")});
    // "WM_TRANSIENT_FOR(WINDOW): window id # 0x1a00003"
    static const QRegularExpression owner(QStringLiteral("window id # (0x[0-9a-fA-F]+)"));
    const QRegularExpressionMatch match = owner.match(QString::fromLatin1(property.output));
    if (!property.ok || !match.hasMatch())
        return 0;
    bool ok = false;
    const WindowId id = match.captured(1).toUInt(&ok, 16);
    return ok ? id : 0;
}

bool Desktop::focus(WindowId window) const
{
    // There is no window manager to give the focus on a click, so it is set
    // the way one would, and we wait until the server confirms it.
    return xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), idArgument(window)});
}

Desktop::WindowId Desktop::focusedWindow() const
{
    // The server's own answer, not a guess at the client window: 1 for
    // "PointerRoot" and 0 for "None" when no window has the keyboard.
    const Result state = run(QStringLiteral("xdotool"), {QStringLiteral("getwindowfocus"), QStringLiteral("-f")});
    bool ok = false;
    const WindowId window = QString::fromLatin1(state.output).trimmed().toUInt(&ok);
    if (!state.ok || !ok || window == 1 || window == rootWindow())
        return 0;
    return window;
}

QStringList Desktop::iconSizes(WindowId window) const
{
    // xprop draws each icon of the property as text under a heading such as
    // "Icon (32 x 32):".
    const Result property = run(QStringLiteral("xprop"),
                                {QStringLiteral("-id"), idArgument(window), QStringLiteral("_NET_WM_ICON")});
    static const QRegularExpression size(QStringLiteral("Icon \\((\\d+) x (\\d+)\\)"));
    QStringList sizes;
    for (const QRegularExpressionMatch &match : size.globalMatch(QString::fromLatin1(property.output)))
        sizes.append(match.captured(1) + u'x' + match.captured(2));
    return sizes;
}

bool Desktop::pressKeys(const QStringList &keys, int delayMs) const
{
    QStringList arguments{QStringLiteral("key"), QStringLiteral("--delay"), QString::number(delayMs)};
    arguments += keys;
    return xdotool(arguments);
}

bool Desktop::typeText(const QString &text) const
{
    // xdotool types a line break as the Linefeed key, which no text box
    // takes for a new line; a person presses Return.
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0 && !pressKeys({QStringLiteral("Return")}))
            return false;
        if (!lines.at(i).isEmpty()
            && !xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), lines.at(i)}))
            return false;
    }
    return true;
}

bool Desktop::click(WindowId window, QPoint point, int clicks, Button button) const
{
    // The clicks of a double click come well inside the toolkit's
    // double-click interval. xdotool's --sync waits for the pointer to move,
    // which it never does when it already stands on the point (a click where
    // the last one was), so the pointer steps beside the point first.
    return xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), idArgument(window),
                    QString::number(point.x() + 1), QString::number(point.y()), QStringLiteral("mousemove"),
                    QStringLiteral("--window"), idArgument(window), QStringLiteral("--sync"),
                    QString::number(point.x()), QString::number(point.y()),
                    QStringLiteral("click"), QStringLiteral("--repeat"), QString::number(clicks),
                    QStringLiteral("--delay"), QStringLiteral("80"), QString::number(int(button))});
}

bool Desktop::drag(WindowId window, const QList<QPoint> &points, Button button) const
{
    const QString id = idArgument(window);
    const auto moveTo = [&id](const QPoint &point) {
        return QStringList{QStringLiteral("mousemove"), QStringLiteral("--window"), id, QString::number(point.x()),
                           QString::number(point.y())};
    };
    QStringList arguments = moveTo(points.first());
    arguments += {QStringLiteral("mousedown"), QString::number(int(button))};
    for (const QPoint &point : points.mid(1))
        arguments += moveTo(point) + QStringList{QStringLiteral("sleep"), QStringLiteral("0.05")};
    arguments += {QStringLiteral("mouseup"), QString::number(int(button))};
    return xdotool(arguments);
}

bool Desktop::close(WindowId window) const
{
    return run(m_xclose, {idArgument(window)}).ok;
}

bool Desktop::screenshot(const QString &path, WindowId window) const
{
    const QString target = window == 0 ? QStringLiteral("root") : idArgument(window);
    return run(QStringLiteral("import"), {QStringLiteral("-window"), target, path}).ok;
}

QImage Desktop::grab(WindowId window) const
{
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("window.png"));
    if (!dir.isValid() || !screenshot(path, window))
        return {};
    return QImage(path);
}
