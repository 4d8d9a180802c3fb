#pragma once

#include <QString>
#include <QStringList>

// What a level designer learns about one level file before players meet it:
// the map's size, its screen cash and exits, whatever cannot be reached, the
// shortest route found and the pace it asks for, and whether the level can be
// won at all. A file the game would refuse gets one line naming the line of
// the file at fault.
class LevelCheck
{
public:
    explicit LevelCheck(const QString &path);

    // Can be played and finished within its time at the pace a level may ask.
    bool winnable() const { return m_winnable; }

    // The findings, one a line, without the file's name. withRoute adds the
    // winning route as arrow-key names on one line.
    QStringList report(bool withRoute) const;

private:
    void examine(const QStringList &lines);
    static QString fault(const QStringList &lines);

    bool m_winnable = false;
    QStringList m_report;
    QString m_route;
};
