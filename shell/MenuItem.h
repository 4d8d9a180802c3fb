// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

class Menu;

// One item of a menu: a caption that its menu paints highlighted or not. A
// screen reader meets it as a menu item by its caption, the highlighted one
// focused and selected, and can press it, which runs it as a click does.
class MenuItem : public QLabel
{
    Q_OBJECT

public:
    MenuItem(const QString &caption, Menu *menu);

    // Tells a screen reader that the highlight has come here, so that it
    // reads the item out as Up and Down move; the focus event is left out
    // when moving the keyboard focus here has sent it already.
    void announceHighlight(bool withFocusEvent);
};
