// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Load_Files.h"
#include "MapEditor.h"
#include "TilePalette.h"

#include <QListWidget>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

// What the player's mouse does on the load-level screen and the editor.
namespace EditorDriver {

// Double-clicks a level file in the list; false when the list lacks it.
inline bool choose(Load_Files *files, const QString &name)
{
    const QList<QListWidgetItem *> found = files->File1->findItems(name, Qt::MatchExactly);
    if (found.size() != 1)
        return false;
    const QPoint at = files->File1->visualItemRect(found.first()).center();
    // The first click of a double-click arrives as a click of its own.
    QTest::mouseClick(files->File1->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(files->File1->viewport(), Qt::LeftButton, {}, at);
    return true;
}

inline void clickTile(MapEditor *editor, int code)
{
    QTest::mouseClick(editor->Picture1, Qt::LeftButton, {}, editor->Picture1->tileRect(code).center());
}

// Clicks the upper (or lower) arrow of a scroll bar, where the style draws it.
inline void clickArrow(QScrollBar *bar, bool upper)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    const QStyle::SubControl arrow = upper ? QStyle::SC_ScrollBarSubLine : QStyle::SC_ScrollBarAddLine;
    QTest::mouseClick(bar, Qt::LeftButton, {},
                      bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, arrow, bar).center());
}

} // namespace EditorDriver
