// SPDX-License-Identifier: GPL-3.0-or-later
#include "MapPreview.h"

#include "LevelCheck.h"
#include "Pictures.h"
#include "Twips.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <cmath>

namespace {

constexpr int CellPixels = Twips::toPixels(Twips::Cell);
// The verdict shows as a band round the map, wide enough to be seen at a
// glance, over the outer cells, which are mostly wall.
constexpr int BandPixels = 3;

const QString Gestures = QStringLiteral(
    "Left button: paint with the brush (right-click a palette tile to choose it)\n"
    "Right button: paint floor\n"
    "Double-click: start the explorer here\n"
    "F5: play the map as it stands; F6: can it be won?");

} // namespace

MapPreview::Judgment MapPreview::judgmentOf(LevelCheck::Verdict verdict)
{
    switch (verdict) {
    case LevelCheck::Verdict::Winnable:
        return Judgment::Winnable;
    case LevelCheck::Verdict::Undecided:
        return Judgment::Undecided;
    case LevelCheck::Verdict::Unreadable:
    case LevelCheck::Verdict::Refused:
    case LevelCheck::Verdict::Blocked:
    case LevelCheck::Verdict::BadStart:
    case LevelCheck::Verdict::TooFast:
        break;
    }
    return Judgment::NotWinnable;
}

QColor MapPreview::bandColor(Judgment judgment)
{
    switch (judgment) {
    case Judgment::Winnable:
        return QColor(40, 170, 60);
    case Judgment::NotWinnable:
        return QColor(210, 40, 40);
    case Judgment::Undecided:
        // Neither yes nor no, and not still at work either.
        return QColor(60, 110, 210);
    case Judgment::Working:
        break;
    }
    return QColor(230, 170, 30);
}

MapPreview::MapPreview(QWidget *parent)
    : Board(parent)
{
    setMouseTracking(true);
}

std::optional<QPoint> MapPreview::cellAt(const QPoint &position) const
{
    const QPoint inside = position - contentsRect().topLeft();
    if (inside.x() < 0 || inside.y() < 0)
        return std::nullopt;
    const QPoint cell(inside.x() / CellPixels, inside.y() / CellPixels);
    if (cell.x() >= Twips::MapCells || cell.y() >= Twips::MapCells)
        return std::nullopt;
    return cell;
}

QRect MapPreview::cellRect(const QPoint &cell) const
{
    return QRect(contentsRect().topLeft() + cell * CellPixels, QSize(CellPixels, CellPixels));
}

void MapPreview::setStart(const std::optional<QPoint> &cell)
{
    if (cell == m_start)
        return;
    m_start = cell;
    update();
}

void MapPreview::setJudgment(Judgment judgment, const QString &sentence)
{
    m_judgment = judgment;
    m_sentence = sentence;
    update();
}

void MapPreview::showRoute(const QList<QPoint> &cells, const QList<QPoint> &clocks)
{
    m_route = cells;
    m_clocks = clocks;
    m_marked.reset();
    update();
}

void MapPreview::markCell(const QPoint &cell)
{
    m_route.clear();
    m_clocks.clear();
    m_marked = cell;
    update();
}

void MapPreview::clearFindings()
{
    if (m_route.isEmpty() && !m_marked)
        return;
    m_route.clear();
    m_clocks.clear();
    m_marked.reset();
    update();
}

bool MapPreview::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const auto cell = cellAt(help->pos());
        QStringList lines;
        if (cell)
            lines.append(LevelCheck::cellName(*cell));
        if (!m_sentence.isEmpty())
            lines.append(m_sentence);
        lines.append(Gestures);
        // Tied to the cell, so that the next cell names itself.
        QToolTip::showText(help->globalPos(), lines.join(u'\n'), this, cell ? cellRect(*cell) : contentsRect());
        return true;
    }
    return Board::event(event);
}

void MapPreview::paintEvent(QPaintEvent *event)
{
    Board::paintEvent(event);
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    painter.setRenderHint(QPainter::Antialiasing);

    if (m_start) {
        // Half seen, so that the tile it stands on still shows through.
        painter.setOpacity(0.6);
        painter.drawPixmap(cellRect(*m_start).topLeft(), Pictures::figure(Arrow::Down));
        painter.setOpacity(1);
    }

    if (m_route.size() > 1) {
        QPainterPath way;
        way.moveTo(QRectF(cellRect(m_route.first())).center());
        for (qsizetype i = 1; i < m_route.size(); ++i)
            way.lineTo(QRectF(cellRect(m_route.at(i))).center());
        painter.setPen(QPen(QColor(255, 255, 255, 200), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(way);
        painter.setPen(QPen(QColor(220, 30, 160), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(way);
        painter.setBrush(QColor(255, 230, 0));
        painter.setPen(QPen(Qt::black, 1.5));
        for (const QPoint &clock : std::as_const(m_clocks))
            painter.drawEllipse(QRectF(cellRect(clock)).center(), 7, 7);
    }
    if (m_marked) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(230, 20, 20), 3));
        painter.drawEllipse(QRectF(cellRect(*m_marked)).adjusted(1.5, 1.5, -1.5, -1.5));
    }
    if (m_hovered) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::white, 1, Qt::DashLine));
        painter.drawRect(QRectF(cellRect(*m_hovered)).adjusted(0.5, 0.5, -0.5, -0.5));
    }

    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setClipping(false);
    painter.setPen(QPen(bandColor(m_judgment), BandPixels));
    painter.setBrush(Qt::NoBrush);
    const int half = BandPixels / 2;
    painter.drawRect(rect().adjusted(half, half, -half - 1, -half - 1));
}

void MapPreview::mousePressEvent(QMouseEvent *event)
{
    const auto cell = cellAt(event->position().toPoint());
    if (!cell || (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) || m_strokeWithBrush) {
        Board::mousePressEvent(event);
        return;
    }
    m_strokeWithBrush = event->button() == Qt::LeftButton;
    m_strokeAt = *cell;
    emit strokeStarted();
    emit cellPainted(*cell, *m_strokeWithBrush);
}

void MapPreview::mouseMoveEvent(QMouseEvent *event)
{
    const auto cell = cellAt(event->position().toPoint());
    setHovered(cell);
    if (m_strokeWithBrush && cell && *cell != m_strokeAt)
        paintTo(*cell);
}

void MapPreview::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_strokeWithBrush && event->button() == (*m_strokeWithBrush ? Qt::LeftButton : Qt::RightButton))
        m_strokeWithBrush.reset();
    Board::mouseReleaseEvent(event);
}

void MapPreview::mouseDoubleClickEvent(QMouseEvent *event)
{
    const auto cell = cellAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && cell) {
        emit startChosen(*cell);
        return;
    }
    Board::mouseDoubleClickEvent(event);
}

void MapPreview::leaveEvent(QEvent *event)
{
    setHovered(std::nullopt);
    Board::leaveEvent(event);
}

void MapPreview::setHovered(const std::optional<QPoint> &cell)
{
    if (cell == m_hovered)
        return;
    if (m_hovered)
        update(cellRect(*m_hovered));
    m_hovered = cell;
    if (m_hovered)
        update(cellRect(*m_hovered));
}

void MapPreview::paintTo(const QPoint &cell)
{
    const QPoint from = m_strokeAt;
    const int steps = std::max(std::abs(cell.x() - from.x()), std::abs(cell.y() - from.y()));
    for (int i = 1; i <= steps; ++i) {
        const double along = double(i) / steps;
        const QPoint next(int(std::lround(from.x() + (cell.x() - from.x()) * along)),
                          int(std::lround(from.y() + (cell.y() - from.y()) * along)));
        if (next == m_strokeAt)
            continue;
        m_strokeAt = next;
        emit cellPainted(next, *m_strokeWithBrush);
    }
}
