// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Board.h"
#include "LevelCheck.h"

#include <QList>
#include <QPoint>
#include <QString>

#include <optional>

class QPainter;

// The editor's preview: the map drawn as the game draws it, and the place a
// designer paints in. The left button paints the brush into every cell it
// passes, the right button floor, and a double-click puts the start there.
// Over the map it shows the explorer on the start cell, the cell under the
// pointer, and what the last check found: the verdict as the frame's colour,
// and the route or the cell at fault. A screen reader meets it as a graphic
// whose description says the verdict, and hears each new one.
class MapPreview : public Board
{
    Q_OBJECT

public:
    explicit MapPreview(QWidget *parent);

    // The cell (column, row) under a point of the widget; nothing off the
    // sixteen by sixteen cells.
    std::optional<QPoint> cellAt(const QPoint &position) const;
    // The cell's rectangle in the widget, in pixels.
    QRect cellRect(const QPoint &cell) const;

    // Where the explorer starts; nothing when the start boxes hold no cell.
    void setStart(const std::optional<QPoint> &cell);

    // Undecided: the search ran out before it found a route in time, and
    // nothing shows that none exists.
    enum class Judgment { Working, Winnable, NotWinnable, Undecided };
    // How the frame shows a check's verdict.
    static Judgment judgmentOf(LevelCheck::Verdict verdict);
    // The live verdict: the frame's colour, and the sentence the tooltip says.
    void setJudgment(Judgment judgment, const QString &sentence);
    static QColor bandColor(Judgment judgment);
    Judgment judgment() const { return m_judgment; }
    QString sentence() const { return m_sentence; }
    // The verdict in words, on one line: what the frame's colour means, and
    // the sentence.
    QString description() const;

    // What F6 found, shown until the next change: the route as the cells the
    // explorer passes (the last one the exit it pushes into) with the cells
    // where it takes a clock, or the one cell at fault. The route is drawn
    // with arrow heads, each way of a corridor walked there and back in a
    // lane of its own, and the cells where it turns back numbered in order.
    void showRoute(const QList<QPoint> &cells, const QList<QPoint> &clocks);
    void markCell(const QPoint &cell);
    void clearFindings();
    const QList<QPoint> &route() const { return m_route; }
    const std::optional<QPoint> &marked() const { return m_marked; }
    // The cells where the route turns back, in the order it reaches them:
    // the numbers drawn on the preview count them from 1.
    QList<QPoint> turnsBack() const;

signals:
    // A press starts a stroke; each cell it passes is painted once, with the
    // brush for the left button and floor for the right one.
    void strokeStarted();
    void cellPainted(const QPoint &cell, bool withBrush);
    void startChosen(const QPoint &cell);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void setHovered(const std::optional<QPoint> &cell);
    void paintRoute(QPainter &painter) const;
    // Paints every cell on the straight way from the last one painted, so
    // that a quick drag leaves no gaps.
    void paintTo(const QPoint &cell);

    std::optional<QPoint> m_start;
    std::optional<QPoint> m_hovered;
    // The stroke under way: its button and the last cell it painted.
    std::optional<bool> m_strokeWithBrush;
    QPoint m_strokeAt;
    Judgment m_judgment = Judgment::Working;
    QString m_sentence;
    QList<QPoint> m_route;
    QList<QPoint> m_clocks;
    std::optional<QPoint> m_marked;
};
