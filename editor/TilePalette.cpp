// SPDX-License-Identifier: GPL-3.0-or-later
#include "TilePalette.h"

#include "Pictures.h"
#include "TileCodes.h"
#include "Twips.h"

#include <QAccessibleWidget>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QToolTip>

#include <vector>

namespace {

// The floor has no picture; a pale cell with a frame shows that there is a
// tile to click all the same.
const QColor FloorFill(250, 250, 244);
const QColor FloorFrame(150, 150, 150);
const QColor BrushFrame(200, 0, 0);

const QString Buttons = QStringLiteral("click: add it at the caret; right-click: paint with it");

// One tile of the palette as a screen reader meets it: a button named as
// pointing at it names it, which inserts its code when pressed.
class TileAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    TileAccessible(TilePalette *palette, int code)
        : m_palette(palette)
        , m_code(code)
    {
    }

    bool isValid() const override { return m_palette; }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_palette ? m_palette->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_palette); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text kind) const override
    {
        switch (kind) {
        case QAccessible::Name:
            return TilePalette::tileTip(m_code);
        case QAccessible::Description:
            return Buttons;
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString &) override {}
    QAccessible::Role role() const override { return QAccessible::Button; }

    QRect rect() const override
    {
        if (!m_palette)
            return {};
        const QRect tile = m_palette->tileRect(m_code);
        return QRect(m_palette->mapToGlobal(tile.topLeft()), tile.size());
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.invisible = !m_palette || !m_palette->isVisible();
        state.disabled = !m_palette || !m_palette->isEnabled();
        state.focusable = true;
        state.focused = m_palette && m_palette->hasFocus() && m_palette->current() == m_code;
        // The brush is the tile chosen among them, as one of a set of
        // toggles.
        state.checkable = true;
        state.checked = m_palette && m_palette->brush() == m_code;
        return state;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }

    // Pressing adds the tile at the caret; toggling makes it the brush, as
    // a right-click does.
    QStringList actionNames() const override { return {pressAction(), toggleAction()}; }
    void doAction(const QString &action) override
    {
        if (!m_palette || !m_palette->isEnabled())
            return;
        if (action == pressAction())
            m_palette->choose(m_code);
        else if (action == toggleAction())
            m_palette->setBrush(m_code);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QPointer<TilePalette> m_palette;
    int m_code;
};

// The palette with a child for every tile. The tiles' interfaces are made
// when first asked for and go with the palette's.
class TilePaletteAccessible : public QAccessibleWidget
{
public:
    explicit TilePaletteAccessible(TilePalette *palette)
        : QAccessibleWidget(palette, QAccessible::Grouping)
        , m_tiles(std::size_t(TileCodes::all().size()), 0)
    {
    }

    int childCount() const override { return int(m_tiles.size()); }

    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        QAccessible::Id &id = m_tiles[std::size_t(index)];
        if (id == 0)
            id = QAccessible::registerAccessibleInterface(
                new TileAccessible(static_cast<TilePalette *>(widget()), TileCodes::all().at(index)));
        return QAccessible::accessibleInterface(id);
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (std::size_t i = 0; i < m_tiles.size(); ++i) {
            if (m_tiles[i] != 0 && QAccessible::accessibleInterface(m_tiles[i]) == child)
                return int(i);
        }
        return -1;
    }

    // With the keyboard in the palette, the tile it stands on has the focus.
    QAccessibleInterface *focusChild() const override
    {
        const auto *palette = static_cast<const TilePalette *>(widget());
        if (!palette->hasFocus())
            return nullptr;
        return child(int(TileCodes::all().indexOf(palette->current())));
    }

protected:
    ~TilePaletteAccessible() override
    {
        for (const QAccessible::Id id : m_tiles) {
            if (id != 0)
                QAccessible::deleteAccessibleInterface(id);
        }
    }

private:
    mutable std::vector<QAccessible::Id> m_tiles;
};

QAccessibleInterface *paletteAccessible(const QString &className, QObject *object)
{
    if (className == u"TilePalette")
        return new TilePaletteAccessible(static_cast<TilePalette *>(object));
    return nullptr;
}

} // namespace

TilePalette::TilePalette(QWidget *parent)
    : QFrame(parent)
    , m_brush(TileCodes::Wall)
    , m_current(TileCodes::Floor)
{
    // Before anything here can make a screen reader ask for the palette,
    // which would take it for a plain frame from then on.
    static const bool installed = [] {
        QAccessible::installFactory(paletteAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    // Tab reaches it; a click inserts and leaves the caret in the map box.
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(QStringLiteral("Tile palette"));
}

void TilePalette::choose(int code)
{
    emit tileClicked(code);
}

void TilePalette::setBrush(int code)
{
    if (!TileCodes::all().contains(code) || code == m_brush)
        return;
    const int before = m_brush;
    update(tileRect(m_brush));
    m_brush = code;
    update(tileRect(m_brush));
    QAccessible::State checked;
    checked.checked = true;
    for (const int changed : {before, code}) {
        QAccessibleStateChangeEvent event(this, checked);
        event.setChild(int(TileCodes::all().indexOf(changed)));
        QAccessible::updateAccessibility(&event);
    }
    emit brushChosen(code);
}

void TilePalette::announceCurrent()
{
    if (!hasFocus())
        return;
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(int(TileCodes::all().indexOf(m_current)));
    QAccessible::updateAccessibility(&focus);
}

QRect TilePalette::tileRect(int code) const
{
    const qsizetype index = TileCodes::all().indexOf(code);
    if (index < 0)
        return {};
    const int column = int(index) % Columns;
    const int row = int(index) / Columns;
    return Twips::rect(Twips::Cell * column, Twips::Cell * row, Twips::Cell, Twips::Cell)
        .translated(contentsRect().topLeft());
}

QString TilePalette::tileTip(int code)
{
    const QString name = TileCodes::name(code);
    if (name.isEmpty())
        return {};
    return QStringLiteral("%1: %2").arg(name).arg(code);
}

int TilePalette::codeAt(const QPoint &position) const
{
    for (const int code : TileCodes::all()) {
        if (tileRect(code).contains(position))
            return code;
    }
    return -1;
}

bool TilePalette::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const int code = codeAt(help->pos());
        if (code < 0) {
            QToolTip::hideText();
            event->ignore();
        } else {
            // Tied to the tile, so moving to its neighbour asks again.
            QToolTip::showText(help->globalPos(), tileTip(code) + u'\n' + Buttons, this, tileRect(code));
        }
        return true;
    }
    return QFrame::event(event);
}

void TilePalette::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    for (const int code : TileCodes::all()) {
        const QRect cell = tileRect(code);
        if (code == TileCodes::Floor) {
            painter.fillRect(cell.adjusted(1, 1, -1, -1), FloorFill);
            painter.setPen(FloorFrame);
            painter.drawRect(cell.adjusted(1, 1, -2, -2));
            continue;
        }
        const QPixmap picture = Pictures::tile(QString::number(code));
        if (!picture.isNull())
            painter.drawPixmap(cell.topLeft(), picture);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(BrushFrame, 2));
    painter.drawRect(tileRect(m_brush).adjusted(1, 1, -1, -1));
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(tileRect(m_current).adjusted(3, 3, -4, -4));
    }
}

void TilePalette::mouseReleaseEvent(QMouseEvent *event)
{
    // A click acts on release, over the tile it was pressed on, like a
    // button: dragging off a tile cancels it.
    const int code = codeAt(event->position().toPoint());
    if (code < 0)
        return;
    if (event->button() == Qt::LeftButton)
        choose(code);
    else if (event->button() == Qt::RightButton)
        setBrush(code);
}

void TilePalette::keyPressEvent(QKeyEvent *event)
{
    const QList<int> &codes = TileCodes::all();
    const int at = int(codes.indexOf(m_current));
    int to = at;
    switch (event->key()) {
    case Qt::Key_Left:
        to = at - 1;
        break;
    case Qt::Key_Right:
        to = at + 1;
        break;
    case Qt::Key_Up:
        to = at - Columns;
        break;
    case Qt::Key_Down:
        to = at + Columns;
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        choose(m_current);
        return;
    default:
        QFrame::keyPressEvent(event);
        return;
    }
    if (to < 0 || to >= codes.size())
        return;
    update(tileRect(m_current));
    m_current = codes.at(to);
    update(tileRect(m_current));
    announceCurrent();
}

void TilePalette::focusInEvent(QFocusEvent *event)
{
    update(tileRect(m_current));
    QFrame::focusInEvent(event);
    // The palette itself is announced as focused once this returns; the
    // tile the keyboard stands on follows it.
    QMetaObject::invokeMethod(this, &TilePalette::announceCurrent, Qt::QueuedConnection);
}

void TilePalette::focusOutEvent(QFocusEvent *event)
{
    update(tileRect(m_current));
    QFrame::focusOutEvent(event);
}
