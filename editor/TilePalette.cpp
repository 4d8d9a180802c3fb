// SPDX-License-Identifier: GPL-3.0-or-later
#include "TilePalette.h"

#include "Pictures.h"
#include "TileCodes.h"
#include "Twips.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QHelpEvent>
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
        return kind == QAccessible::Name ? TilePalette::tileTip(m_code) : QString();
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
        return state;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &action) override
    {
        if (action == pressAction() && m_palette && m_palette->isEnabled())
            m_palette->choose(m_code);
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
    setAccessibleName(QStringLiteral("Tile palette"));
}

void TilePalette::choose(int code)
{
    emit tileClicked(code);
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
    static const QHash<int, QString> names{
        {0, QStringLiteral("Floor")},
        {1, QStringLiteral("Brick wall")},
        {2, QStringLiteral("Palm tree")},
        {3, QStringLiteral("Banknote")},
        {4, QStringLiteral("Exit")},
        {5, QStringLiteral("Light bulb")},
        {6, QStringLiteral("Life ring")},
        {7, QStringLiteral("Diamond")},
        {80, QStringLiteral("Boulder")},
        {81, QStringLiteral("Ant")},
        {82, QStringLiteral("Pyramid block")},
        {83, QStringLiteral("Floppy disk")},
        {84, QStringLiteral("Clock")},
        {85, QStringLiteral("Arrow panel")},
        {86, QStringLiteral("Globe")},
        {87, QStringLiteral("Red dot with rays")},
        {88, QStringLiteral("Blue ring")},
        {90, QStringLiteral("Blue and red square")},
    };
    const auto found = names.constFind(code);
    if (found == names.constEnd())
        return {};
    return QStringLiteral("%1: %2").arg(*found).arg(code);
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
            QToolTip::showText(help->globalPos(), tileTip(code), this, tileRect(code));
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
}

void TilePalette::mouseReleaseEvent(QMouseEvent *event)
{
    // A click acts on release, over the tile it was pressed on, like a
    // button: dragging off a tile cancels it.
    if (event->button() != Qt::LeftButton)
        return;
    const int code = codeAt(event->position().toPoint());
    if (code >= 0)
        choose(code);
}
