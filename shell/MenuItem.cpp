// SPDX-License-Identifier: GPL-3.0-or-later
#include "MenuItem.h"

#include "Menu.h"

#include <QAccessibleWidget>

#include <algorithm>

namespace {

class MenuItemAccessible : public QAccessibleWidget
{
public:
    explicit MenuItemAccessible(MenuItem *item)
        : QAccessibleWidget(item, QAccessible::MenuItem)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<const QLabel *>(widget())->text();
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.selectable = true;
        state.focusable = true;
        // The menu's window takes the keys; its highlight is where they act.
        if (const Menu *owner = menu(); owner && owner->current() == index()) {
            state.selected = true;
            state.focused = owner->isActiveWindow();
        }
        return state;
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString &action) override
    {
        Menu *owner = menu();
        if (action != pressAction() || !owner || !widget()->isEnabled())
            return;
        owner->focus(index());
        owner->Label1_Click(index());
    }

    QStringList keyBindingsForAction(const QString &action) const override
    {
        if (action == pressAction())
            return {QStringLiteral("Return")};
        return {};
    }

private:
    Menu *menu() const { return qobject_cast<Menu *>(widget()->parent()); }

    int index() const
    {
        const Menu *owner = menu();
        if (!owner)
            return -1;
        const auto found = std::find(owner->Label1.cbegin(), owner->Label1.cend(), widget());
        return found == owner->Label1.cend() ? -1 : int(found - owner->Label1.cbegin());
    }
};

QAccessibleInterface *menuItemAccessible(const QString &className, QObject *object)
{
    if (className == u"MenuItem")
        return new MenuItemAccessible(static_cast<MenuItem *>(object));
    return nullptr;
}

} // namespace

MenuItem::MenuItem(const QString &caption, Menu *menu)
    : QLabel(menu)
{
    // Before the caption is set, which a screen reader may hear of: the item
    // would be taken for a plain label from then on.
    static const bool installed = [] {
        QAccessible::installFactory(menuItemAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    setText(caption);
}

void MenuItem::announceHighlight(bool withFocusEvent)
{
    if (!isActiveWindow())
        return;
    if (withFocusEvent) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
    QAccessible::State changed;
    changed.focused = true;
    changed.selected = true;
    QAccessibleStateChangeEvent state(this, changed);
    QAccessible::updateAccessibility(&state);
}
