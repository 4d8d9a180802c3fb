// SPDX-License-Identifier: GPL-3.0-or-later
#include "MapPreview.h"

#include "LevelCheck.h"
#include "Pictures.h"
#include "Twips.h"

#include <QAccessibleWidget>
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

// The route's lanes lie this far to the right of the cells' centres, so that
// the way into a dead end and the way back out are two lines side by side.
constexpr double LaneOffset = CellPixels / 7.0;
// One arrow head a cell, in the middle of each step.
constexpr double HeadLength = CellPixels / 4.0;
constexpr double HeadHalfWidth = CellPixels / 7.0;
// The number of a turn back stands beyond the turn, towards the dead end's
// far wall, clear of a clock ringed in the cell's middle.
constexpr double BadgeRadius = CellPixels / 4.6;
constexpr double BadgeDistance = CellPixels / 3.6;

const QColor RouteColor(220, 30, 160);
const QColor RouteCasing(255, 255, 255, 200);

QString judgmentWords(MapPreview::Judgment judgment)
{
    switch (judgment) {
    case MapPreview::Judgment::Winnable:
        return QStringLiteral("Can be won (green frame)");
    case MapPreview::Judgment::NotWinnable:
        return QStringLiteral("Cannot be won (red frame)");
    case MapPreview::Judgment::Undecided:
        return QStringLiteral("Not decided (blue frame)");
    case MapPreview::Judgment::Working:
        break;
    }
    return QStringLiteral("Being judged (amber frame)");
}

// The direction of a step, one unit long.
QPointF unit(const QPointF &from, const QPointF &to)
{
    const QPointF d = to - from;
    const double length = std::hypot(d.x(), d.y());
    return d / length;
}

// The right-hand side of a direction on the screen, where y grows downwards.
QPointF rightOf(const QPointF &direction)
{
    return QPointF(-direction.y(), direction.x());
}

double dot(const QPointF &a, const QPointF &b)
{
    return a.x() * b.x() + a.y() * b.y();
}

// The route without a cell repeated in place, which would be a step of no
// length and no direction.
QList<QPoint> steppedCells(const QList<QPoint> &cells)
{
    QList<QPoint> way;
    for (const QPoint &cell : cells) {
        if (way.isEmpty() || way.last() != cell)
            way.append(cell);
    }
    return way;
}

// Whether the way turns back at its cell i: it leaves the cell more against
// the way it came than along or across it.
bool turnsBackAt(const QList<QPoint> &way, qsizetype i)
{
    const QPointF in = unit(way.at(i - 1), way.at(i));
    const QPointF out = unit(way.at(i), way.at(i + 1));
    return dot(in, out) < -0.5;
}

// A filled arrow head at a point, pointing along a direction.
QPolygonF arrowHead(const QPointF &middle, const QPointF &direction)
{
    const QPointF side = rightOf(direction) * HeadHalfWidth;
    const QPointF back = middle - direction * (HeadLength / 2);
    return QPolygonF({middle + direction * (HeadLength / 2), back + side, back - side});
}

// The preview as a screen reader meets it: a picture of the level whose
// description is the verdict the frame shows.
class PreviewAccessible : public QAccessibleWidget
{
public:
    explicit PreviewAccessible(MapPreview *preview)
        : QAccessibleWidget(preview, QAccessible::Graphic)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Description)
            return static_cast<const MapPreview *>(widget())->description();
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface *previewAccessible(const QString &className, QObject *object)
{
    if (className == u"MapPreview")
        return new PreviewAccessible(static_cast<MapPreview *>(object));
    return nullptr;
}

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
    // Before anything here can make a screen reader ask for the preview,
    // which would take it for a plain frame from then on.
    static const bool installed = [] {
        QAccessible::installFactory(previewAccessible);
        return true;
    }();
    Q_UNUSED(installed);
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
    const QString before = description();
    m_judgment = judgment;
    m_sentence = sentence;
    update();
    // Said as it changes, so that the designer need not go looking for it.
    if (description() != before) {
        QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&changed);
    }
}

QString MapPreview::description() const
{
    const QString words = judgmentWords(m_judgment);
    // A name or description is read as one line.
    const QString sentence = m_sentence.simplified();
    return sentence.isEmpty() ? words : words + QStringLiteral(". ") + sentence;
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

    paintRoute(painter);
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

QList<QPoint> MapPreview::turnsBack() const
{
    const QList<QPoint> way = steppedCells(m_route);
    QList<QPoint> turns;
    for (qsizetype i = 1; i + 1 < way.size(); ++i) {
        if (turnsBackAt(way, i))
            turns.append(way.at(i));
    }
    return turns;
}

void MapPreview::paintRoute(QPainter &painter) const
{
    const QList<QPoint> way = steppedCells(m_route);
    if (way.size() < 2)
        return;
    QList<QPointF> centres;
    for (const QPoint &cell : way)
        centres.append(QRectF(cellRect(cell)).center());

    // Each step runs in the lane on its right; a turn meets the next lane at
    // the corner, and a turn back crosses over in its cell.
    QPainterPath line;
    QList<std::pair<QPointF, QPointF>> heads;
    QList<std::pair<QPointF, int>> badges;
    QPointF direction = unit(centres.at(0), centres.at(1));
    line.moveTo(centres.at(0) + rightOf(direction) * LaneOffset);
    for (qsizetype i = 1; i < centres.size(); ++i) {
        const QPointF from = centres.at(i - 1);
        const QPointF to = centres.at(i);
        const QPointF lane = rightOf(direction) * LaneOffset;
        // A step the figure is carried further than one cell gets a head for
        // every cell it crosses.
        const double length = std::hypot(to.x() - from.x(), to.y() - from.y());
        const int count = std::max(1, int(std::lround(length / CellPixels)));
        for (int k = 0; k < count; ++k)
            heads.append({from + (to - from) * ((k + 0.5) / count) + lane, direction});
        if (i + 1 == centres.size()) {
            line.lineTo(to + lane);
            break;
        }
        const QPointF next = unit(to, centres.at(i + 1));
        const double turn = dot(direction, next);
        if (turnsBackAt(way, i)) {
            line.lineTo(to + lane);
            line.lineTo(to + rightOf(next) * LaneOffset);
            badges.append({to + direction * BadgeDistance, int(badges.size()) + 1});
        } else {
            line.lineTo(to + (rightOf(direction) + rightOf(next)) * (LaneOffset / (1 + turn)));
        }
        direction = next;
    }

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(RouteCasing, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(line);
    painter.setPen(QPen(RouteColor, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(line);
    painter.setBrush(RouteColor);
    painter.setPen(QPen(RouteCasing, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const auto &[at, along] : std::as_const(heads))
        painter.drawPolygon(arrowHead(at, along));

    painter.setBrush(QColor(255, 230, 0));
    painter.setPen(QPen(Qt::black, 1.5));
    for (const QPoint &clock : std::as_const(m_clocks))
        painter.drawEllipse(QRectF(cellRect(clock)).center(), 7, 7);

    QFont small = font();
    small.setPixelSize(int(BadgeRadius * 1.3));
    small.setBold(true);
    painter.setFont(small);
    for (const auto &[at, number] : std::as_const(badges)) {
        const QRectF badge(at - QPointF(BadgeRadius, BadgeRadius), QSizeF(2 * BadgeRadius, 2 * BadgeRadius));
        painter.setBrush(QColor(40, 40, 40));
        painter.setPen(QPen(Qt::white, 1));
        painter.drawEllipse(badge);
        painter.drawText(badge, Qt::AlignCenter, QString::number(number));
    }
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
