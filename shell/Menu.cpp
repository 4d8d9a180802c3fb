// SPDX-License-Identifier: GPL-3.0-or-later
#include "Menu.h"

#include "Colors.h"
#include "Fonts.h"
#include "Twips.h"
#include "VirtualKey.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

#include <algorithm>

Menu::Menu(const QString &caption, int clientWidthTwips, int clientHeightTwips)
    : Form(caption, clientWidthTwips, clientHeightTwips, Frame::Tool)
{
    Colors::setBackColor(this, Colors::MenuBack);
    setFocusPolicy(Qt::StrongFocus);
    Curr = new QLabel(QStringLiteral("0"), this);
    Curr->hide();
}

void Menu::paint(QLabel *label, const QColor &back, const QColor &text)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, back);
    palette.setColor(QPalette::Active, QPalette::WindowText, text);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, text);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, LockedText);
    label->setPalette(palette);
}

MenuItem *Menu::addItem(const QString &caption, const QRect &twips, qreal points, Qt::Alignment alignment)
{
    auto *label = new MenuItem(caption, this);
    label->setGeometry(Twips::rect(twips.x(), twips.y(), twips.width(), twips.height()));
    label->setFont(Fonts::msSansSerif(points));
    label->setAlignment(alignment | Qt::AlignTop);
    label->setAutoFillBackground(true);
    // Pointing at an item highlights it without a button held down.
    label->setMouseTracking(true);
    label->installEventFilter(this);
    if (Label1.empty()) {
        paint(label, HighlightBack, HighlightText);
        setFocusProxy(label);
    } else {
        paint(label, NormalBack, NormalText);
    }
    Label1.push_back(label);
    return label;
}

void Menu::addItems(const QStringList &captions)
{
    for (const QString &caption : captions)
        addItem(caption, QRect(480, 480 + 360 * int(Label1.size()), 3735, 375), 12, Qt::AlignHCenter);
}

void Menu::focus(int Index)
{
    moveHighlight(Index, true);
}

void Menu::resetHighlight()
{
    moveHighlight(0, false);
}

void Menu::moveHighlight(int index, bool aloud)
{
    const int before = current();
    for (QLabel *item : Label1)
        paint(item, NormalBack, NormalText);
    MenuItem *item = Label1.at(std::size_t(index));
    paint(item, HighlightBack, HighlightText);
    Curr->setText(QString::number(index));
    // The window's keys still come to the window, by way of the item, which
    // passes every key on; the window's focus lands on the highlighted item
    // whenever the window gets it.
    setFocusProxy(item);
    if (aloud && isActiveWindow()) {
        const bool moved = !item->hasFocus();
        item->setFocus(Qt::OtherFocusReason);
        // Focusing an item tells a screen reader already; the state change
        // says that it is the selected one.
        if (index != before || moved)
            item->announceHighlight(!moved);
    }
    highlightMoved(index);
}

int Menu::current() const
{
    return Curr->text().toInt();
}

int Menu::above(int c) const
{
    return c == 0 ? last() : c - 1;
}

int Menu::below(int c) const
{
    return c == last() ? 0 : c + 1;
}

void Menu::Form_KeyDown(int KeyCode, int Shift)
{
    Q_UNUSED(Shift);
    switch (KeyCode) {
    case VirtualKey::Up:
        focus(above(current()));
        break;
    case VirtualKey::Down:
        focus(below(current()));
        break;
    case VirtualKey::Return:
        activate();
        break;
    default:
        break;
    }
}

void Menu::Label1_MouseMove(int Index)
{
    if (current() != Index && Label1.at(std::size_t(Index))->isEnabled())
        focus(Index);
}

void Menu::Label1_Click(int Index)
{
    Q_UNUSED(Index);
    activate();
}

bool Menu::eventFilter(QObject *watched, QEvent *event)
{
    const auto found = std::find(Label1.cbegin(), Label1.cend(), watched);
    if (found == Label1.cend())
        return Form::eventFilter(watched, event);
    const QLabel *item = *found;
    const int index = int(found - Label1.cbegin());
    // A locked item takes no part in the pointer's play.
    if (!item->isEnabled())
        return false;
    if (event->type() == QEvent::MouseMove) {
        Label1_MouseMove(index);
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        // A click is a press and a release on the same item; letting go
        // after dragging off it is not one.
        if (mouse->button() == Qt::LeftButton && item->rect().contains(mouse->position().toPoint())) {
            Label1_Click(index);
            return true;
        }
    }
    return false;
}

bool Menu::event(QEvent *event)
{
    // The window comes to the front: the highlighted item, not the window's
    // frame or an item highlighted before the window was left, has the
    // focus, and a screen reader hears it first.
    if (event->type() == QEvent::WindowActivate) {
        MenuItem *item = Label1.at(std::size_t(current()));
        if (!item->hasFocus())
            item->setFocus(Qt::ActiveWindowFocusReason);
    }
    return Form::event(event);
}

void Menu::keyPressEvent(QKeyEvent *event)
{
    Form_KeyDown(VirtualKey::of(event), event->modifiers() & Qt::ShiftModifier ? 1 : 0);
    event->accept();
}
