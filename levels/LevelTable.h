// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LevelRecord.h"

// The twenty built-in levels and the custom slot that a level file fills.
// Level n lives in slot n - 1; slot 20 is the custom slot.
class LevelTable
{
public:
    static constexpr int Slots = 21;
    static constexpr int BuiltInLevels = 20;
    static constexpr int CustomSlot = 20;
    // What the play screen's level caption shows for the custom slot in
    // place of a level number: the level came from a file.
    static inline const QString FileMarker = QStringLiteral("File");
    // The same for the editor's map tried out in the custom slot.
    static inline const QString TestMarker = QStringLiteral("Test");

    // Slots 0..19 hold the built-in levels; 20 holds the custom slot's
    // defaults (no map rows until a level file is loaded).
    static LevelRecord slot(int index);

    // The colour value of red, green and blue, red in the lowest byte.
    static constexpr quint32 rgb(int red, int green, int blue)
    {
        return quint32(red) | quint32(green) << 8 | quint32(blue) << 16;
    }
    // The light grey of a button face: the custom slot's colour, the
    // editor's first colour, and what a level file holds for a level that
    // follows the desktop's button face.
    static constexpr quint32 ButtonFaceGrey = 192 | 192 << 8 | 192 << 16;
};
