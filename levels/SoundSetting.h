// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Whether the player wants the game's sounds, kept in Sound.Log beside
// LGT.Log so that a player who switched them off is not greeted by them on
// the next run. The file holds "on" or "off" and a line end.
class SoundSetting
{
public:
    static QString path();

    // Sound is on unless the file says "off" (case and surrounding spaces
    // aside): a missing, empty, damaged or unreadable file, or no file at
    // all because the player has no folder for the game's files, leaves the
    // sounds on, as they are on a first run.
    static bool isOn();

    // Keeps the choice. The file is written as LGT.Log is: replaced whole in
    // one step, never through a link. Returns false when it could not be
    // written, which switches the sound all the same for this run.
    static bool setOn(bool on);

    // The file's exact content for a choice: "off" and CR LF for off.
    static QByteArray content(bool on);
};
