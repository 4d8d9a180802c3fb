// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form.h"

#include "Twips.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QWindow>

#include <optional>

namespace {

// What a screen reader sees of a window: its controls, less those the
// window keeps hidden (a caption that only holds a number for the window's
// own use, a button that only other controls press, the end-of-game panel
// until the game ends), so that the player hears only what is on screen.
class FormAccessible : public QAccessibleWidget
{
public:
    explicit FormAccessible(QWidget *form)
        : QAccessibleWidget(form, QAccessible::Window)
    {
    }

    int childCount() const override { return int(shownChildren().size()); }

    QAccessibleInterface *child(int index) const override
    {
        const QWidgetList children = shownChildren();
        if (index < 0 || index >= children.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(children.at(index));
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!child || !child->object() || !child->object()->isWidgetType())
            return -1;
        return int(shownChildren().indexOf(static_cast<QWidget *>(child->object())));
    }

    // A window whose focus proxy holds the keyboard counts as focused
    // itself; a screen reader asking is told the control that holds it.
    QAccessibleInterface *focusChild() const override
    {
        QWidget *focused = QApplication::focusWidget();
        if (focused && focused != widget() && widget()->isAncestorOf(focused))
            return QAccessible::queryAccessibleInterface(focused);
        return QAccessibleWidget::focusChild();
    }

private:
    QWidgetList shownChildren() const
    {
        QWidgetList shown;
        for (QObject *child : widget()->children()) {
            auto *control = qobject_cast<QWidget *>(child);
            if (control && !control->isWindow() && !control->isHidden())
                shown.append(control);
        }
        return shown;
    }
};

QAccessibleInterface *formAccessible(const QString &className, QObject *object)
{
    if (className == u"Form" && object && object->isWidgetType())
        return new FormAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

// The frame round a window, once a window manager has put one there.
std::optional<QMargins> frameOf(const QWidget *window)
{
    const QRect frame = window->frameGeometry();
    const QRect inside = window->geometry();
    if (frame == inside)
        return std::nullopt;
    return QMargins(inside.left() - frame.left(), inside.top() - frame.top(), frame.right() - inside.right(),
                    frame.bottom() - inside.bottom());
}

// The frame a window will have: its own if it has one already, else that of
// a game window already framed, else a title bar of the style's height,
// which is about what any window manager draws.
QMargins expectedFrame(const QWidget *window)
{
    if (const std::optional<QMargins> own = frameOf(window))
        return *own;
    for (const QWidget *other : QApplication::topLevelWidgets()) {
        if (other->isVisible()) {
            if (const std::optional<QMargins> theirs = frameOf(other))
                return *theirs;
        }
    }
    return {0, window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window), 0, 0};
}

} // namespace

Form::Form(const QString &caption, int clientWidthTwips, int clientHeightTwips, Frame frame)
    : QWidget(nullptr,
              (frame == Frame::Tool ? Qt::Tool : Qt::Window) | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                  | Qt::WindowCloseButtonHint)
{
    setWindowTitle(caption);
    setFixedSize(Twips::toPixels(clientWidthTwips), Twips::toPixels(clientHeightTwips));
    setAutoFillBackground(true);
    static const bool installed = [] {
        QAccessible::installFactory(formAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

void Form::closeOnEscape()
{
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    // A held Escape closes this window, not the next one that comes up too.
    escape->setAutoRepeat(false);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void Form::discard()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    emit unloaded();
}

void Form::closeEvent(QCloseEvent *event)
{
    if (m_unloaded) {
        event->accept();
        return;
    }
    bool cancel = false;
    Form_Unload(cancel);
    if (cancel) {
        event->ignore();
        return;
    }
    event->accept();
    emit closed();
    discard();
}

void Form::setVisible(bool visible)
{
    if (visible && !m_placed) {
        m_placed = true;
        place();
    }
    QWidget::setVisible(visible);
}

void Form::place()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // Centred in the screen's free area, frame and all; a window larger than
    // that area keeps its top left corner in it, so that the title bar and
    // the close box can always be reached. Placed before the window first
    // goes to the screen, the position is the frame's, and the window
    // manager puts the title bar exactly there whatever its height.
    const QRect area = screen->availableGeometry();
    const QSize outside = size().grownBy(expectedFrame(this));
    move(area.left() + qMax(0, (area.width() - outside.width()) / 2),
         area.top() + qMax(0, (area.height() - outside.height()) / 2));
}
