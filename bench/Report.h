// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// One measured figure: its value, the budget it must stay within (none for
// a figure reported only for comparison) and, for a duration, its share of
// a 60 Hz frame.
struct Figure
{
    QString key;
    QString title;
    double value = 0;
    QString unit;
    std::optional<double> budget;
    // Milliseconds this figure stands for, when it is a duration; shown as
    // frames of 16.7 ms.
    std::optional<double> milliseconds;
    QJsonObject details;

    bool met() const { return !budget || value <= *budget; }
};

// The figures of one run: a table for the reader and a JSON file for
// comparing runs, with the machine they were taken on.
class Report
{
public:
    static constexpr double FrameMs = 1000.0 / 60.0;

    void add(const Figure &figure) { m_figures.append(figure); }
    // A measurement that could not be taken or did not measure what it
    // claims; the run then fails whatever the figures say.
    void addProblem(const QString &problem) { m_problems.append(problem); }
    // Every budget met and nothing went wrong.
    bool allMet() const;

    QString table() const;
    // Writes the figures and the machine; false when the file cannot be
    // written.
    bool writeJson(const QString &path) const;

    static QJsonObject machine();

private:
    QList<Figure> m_figures;
    QStringList m_problems;
};
