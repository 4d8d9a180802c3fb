// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Form.h"
#include "MenuItem.h"

#include <QColor>

#include <vector>

class QLabel;

// The way the three menus work: a column of label items of which exactly one
// is highlighted, moved with Up and Down (wrapping around) or by pointing,
// and activated with Enter or a click. Labels cannot hold the keyboard focus,
// so the window itself takes every key.
class Menu : public Form
{
    Q_OBJECT

public:
    // Teal with pale cyan text, and the same pair swapped for the highlight.
    static inline const QColor NormalBack{0, 128, 128};
    static inline const QColor NormalText{192, 255, 255};
    static inline const QColor HighlightBack = NormalText;
    static inline const QColor HighlightText = NormalBack;
    // A locked item's text: a light grey, dimmer than the items that can be
    // chosen and without their tint, yet readable on the teal (over 3 : 1).
    static inline const QColor LockedText{208, 208, 208};

    // Moves the highlight to an item and records it in Curr; the only place
    // that changes either, so the two always agree. In the window the player
    // is using, the keyboard focus follows, so that a screen reader reads
    // the item out.
    void focus(int Index);
    // Puts the highlight back on the first item without a word to a screen
    // reader: the menu is being left, and the window it leaves for is the
    // one the player hears next.
    void resetHighlight();

    // Up and Down move the highlight, Enter runs the highlighted item; every
    // other key does nothing.
    void Form_KeyDown(int KeyCode, int Shift);
    // Pointing at an enabled item highlights it.
    void Label1_MouseMove(int Index);
    // A click runs the highlighted item, not necessarily the one clicked: the
    // keyboard may have moved the highlight while the pointer rested.
    void Label1_Click(int Index);

    // The highlighted item's index.
    int current() const;

    std::vector<MenuItem *> Label1; // the items, top to bottom
    QLabel *Curr = nullptr;       // hidden: the highlighted index as text

protected:
    // Gives a label a background and a text colour; a disabled label keeps
    // its grey text.
    static void paint(QLabel *label, const QColor &back, const QColor &text);

    Menu(const QString &caption, int clientWidthTwips, int clientHeightTwips);

    // Adds the next item below the others; the first one starts highlighted.
    MenuItem *addItem(const QString &caption, const QRect &twips, qreal points, Qt::Alignment alignment);
    // The column of the main and play menus: large centred items from the
    // top down, 360 twips apart.
    void addItems(const QStringList &captions);

    int last() const { return int(Label1.size()) - 1; }

    // Where Up and Down lead from item c: both wrap around the column.
    virtual int above(int c) const;
    virtual int below(int c) const;

    // Runs the highlighted item.
    virtual void activate() = 0;
    // The highlight has come to an item, by the keys, the pointer or the
    // window itself.
    virtual void highlightMoved(int index) { Q_UNUSED(index); }

    bool event(QEvent *event) override;

    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void moveHighlight(int index, bool aloud);
};
