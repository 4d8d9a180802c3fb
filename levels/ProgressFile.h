#pragma once

#include <QString>

// LGT.Log beside the program: 125 times the slot of the furthest level
// started, so the level selection can offer every level up to it.
class ProgressFile
{
public:
    // The stored slot, unrounded (a file holding 200 gives 1.6). A missing
    // file is created empty and counts as slot 0. Anything the game does not
    // write reads as the nearest sound value: junk and negatives as 0, more
    // than the custom slot as 20. An unreadable directory counts as slot 0.
    static double readSlot();

    // Records the slot just built if it lies further on than the stored one;
    // the value only ever grows. Returns false when the file could not be
    // written, which never stops a game.
    static bool record(int slot);

    // The file's exact content for a slot: " 125 " and CR LF for slot 1.
    static QByteArray content(int slot);

    static QString path();
};
