// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for the game's start-up and memory: a Qt Widgets program that
// shows one label, prints its peak resident set (VmHWM, KiB) once the label
// has been painted, and quits a second later. The window stays that long so
// that whoever times the start can still read its title.

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTextStream>
#include <QTimer>

namespace {

QByteArray peakKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    // A /proc file has no size, so it is read whole rather than to its end.
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0);
    }
    return {};
}

// Reports once the label has been painted: the program has then shown
// everything it ever will.
class ReportAfterPaint : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            QTimer::singleShot(0, qApp, [] { QTextStream(stdout) << peakKiB() << Qt::endl; });
            QTimer::singleShot(1000, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_done = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("A bare Qt Widgets program"));
    label.setWindowTitle(QStringLiteral("Bare Label"));
    ReportAfterPaint reporter;
    label.installEventFilter(&reporter);
    label.show();
    return app.exec();
}
