// SPDX-License-Identifier: GPL-3.0-or-later
#include "Report.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>
#include <QThread>

#include <algorithm>

namespace {

QString number(double value)
{
    if (value >= 1000)
        return QString::number(value, 'f', 0);
    if (value >= 10)
        return QString::number(value, 'f', 1);
    if (value >= 0.1)
        return QString::number(value, 'f', 3);
    return QString::number(value, 'f', 4);
}

// The first line of a /proc file that starts with the key, after its colon.
QString procField(const QString &path, const QString &key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    // A /proc file has no size, so it is read whole rather than to its end.
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.startsWith(key)) {
            const qsizetype colon = line.indexOf(u':');
            return colon < 0 ? QString() : line.mid(colon + 1).trimmed();
        }
    }
    return {};
}

} // namespace

bool Report::allMet() const
{
    return m_problems.isEmpty()
        && std::all_of(m_figures.begin(), m_figures.end(), [](const Figure &figure) { return figure.met(); });
}

QString Report::table() const
{
    const QStringList header{QStringLiteral("figure"), QStringLiteral("value"), QStringLiteral("budget"),
                             QStringLiteral("frames"), QStringLiteral("")};
    QList<QStringList> rows{header};
    for (const Figure &figure : m_figures) {
        rows.append({figure.title, number(figure.value) + u' ' + figure.unit,
                     figure.budget ? QStringLiteral("<= ") + number(*figure.budget) + u' ' + figure.unit
                                   : QStringLiteral("-"),
                     figure.milliseconds ? number(*figure.milliseconds / FrameMs) : QStringLiteral("-"),
                     !figure.budget ? QStringLiteral("") : figure.met() ? QStringLiteral("met")
                                                                         : QStringLiteral("MISSED")});
    }
    QList<qsizetype> widths(header.size(), 0);
    for (const QStringList &row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], row[i].size());
    }
    QString text;
    for (const QStringList &row : rows) {
        QStringList cells;
        for (qsizetype i = 0; i < row.size(); ++i)
            cells.append(i == 0 ? row[i].leftJustified(widths[i]) : row[i].rightJustified(widths[i]));
        text += cells.join(QStringLiteral("  ")).trimmed() + u'\n';
    }
    for (const QString &problem : m_problems)
        text += QStringLiteral("PROBLEM: ") + problem + u'\n';
    return text;
}

bool Report::writeJson(const QString &path) const
{
    QJsonArray figures;
    for (const Figure &figure : m_figures) {
        QJsonObject entry{{QStringLiteral("key"), figure.key},
                          {QStringLiteral("title"), figure.title},
                          {QStringLiteral("value"), figure.value},
                          {QStringLiteral("unit"), figure.unit}};
        if (figure.budget) {
            entry.insert(QStringLiteral("budget"), *figure.budget);
            entry.insert(QStringLiteral("met"), figure.met());
        }
        if (figure.milliseconds)
            entry.insert(QStringLiteral("frames"), *figure.milliseconds / FrameMs);
        if (!figure.details.isEmpty())
            entry.insert(QStringLiteral("details"), figure.details);
        figures.append(entry);
    }
    const QJsonObject root{{QStringLiteral("machine"), machine()},
                           {QStringLiteral("frame_ms"), FrameMs},
                           {QStringLiteral("all_met"), allMet()},
                           {QStringLiteral("figures"), figures},
                           {QStringLiteral("problems"), QJsonArray::fromStringList(m_problems)}};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QJsonDocument(root).toJson());
    return file.commit();
}

QJsonObject Report::machine()
{
    QFile loadavg(QStringLiteral("/proc/loadavg"));
    const QString load = loadavg.open(QIODevice::ReadOnly)
                             ? QString::fromUtf8(loadavg.readAll()).section(u' ', 0, 2)
                             : QString();
    return {{QStringLiteral("date"), QDateTime::currentDateTimeUtc().toString(Qt::ISODate)},
            {QStringLiteral("cpus"), QThread::idealThreadCount()},
            {QStringLiteral("cpu_model"), procField(QStringLiteral("/proc/cpuinfo"), QStringLiteral("model name"))},
            {QStringLiteral("memory"), procField(QStringLiteral("/proc/meminfo"), QStringLiteral("MemTotal"))},
            {QStringLiteral("load_average"), load},
            {QStringLiteral("qt"), QString::fromLatin1(qVersion())}};
}
