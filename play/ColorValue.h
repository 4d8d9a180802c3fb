#pragma once

#include <QColor>

// Level colours travel as one number, red in the lowest byte, in the level
// table and in level files; the windows paint them as QColor.
class ColorValue
{
public:
    static QColor toColor(quint32 value)
    {
        return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
    }
};
