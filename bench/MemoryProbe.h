// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// The game's peak memory: a process of its own that opens the main menu,
// builds all twenty levels on the play screen and opens the editor with a
// full map, each window painted, then reads its high-water mark.
class MemoryProbe
{
public:
    // Runs the session in this process and returns the peak resident set in
    // KiB; nothing when a window never painted.
    static std::optional<qint64> runSession();

    // This process's peak resident set so far, in KiB (VmHWM).
    static std::optional<qint64> peakKiB();
};
