// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

// LGT.Log beside the program: 125 times the slot of the furthest level
// started, so the level selection can offer every level up to it.
class ProgressFile
{
public:
    // The stored slot, unrounded (a file holding 200 gives 1.6). A missing
    // file is created empty and counts as slot 0. The file is read by its
    // leading number, as it always has been: a byte-order mark and leading
    // spaces are skipped, and whatever follows the number is ignored.
    // Anything else the game does not write reads as the nearest sound
    // value: junk and negatives as 0, more than the custom slot as 20. A file
    // that is unreadable or no regular file (a pipe, a device, a dangling
    // link), and an unreadable directory, count as slot 0; a read-only file
    // is still read.
    static double readSlot();

    // Records the slot just built if it lies further on than the stored one;
    // the value only ever grows. A link under the name is replaced, never
    // written through; in a folder that takes no new file, a writable
    // progress file is written in place. Returns false when the file could
    // not be written, which never stops a game.
    static bool record(int slot);

    // The file's exact content for a slot: " 125 " and CR LF for slot 1.
    static QByteArray content(int slot);

    static QString path();

    // What the file holds for each slot reached.
    static constexpr int PerSlot = 125;

    // The number at the start of the text, as the reader takes it; 0 when
    // the text starts with none.
    static double leadingNumber(QByteArrayView text);

private:
    static void createIfMissing();
};
