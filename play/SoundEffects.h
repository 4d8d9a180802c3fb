// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QObject;

// What the game asks of the audio layer, which lives in a module of its own,
// veltrano_sounds, loaded at the first sound. The audio layer brings some
// twenty libraries with it (the sound server's client, codecs, networking);
// kept out of the executable, they cost a game nothing until a sound is
// played, and a game played in silence never loads them.
class SoundEffects
{
public:
    virtual ~SoundEffects() = default;

    // Plays the compiled-in sound at the resource path from its beginning;
    // each sound is made the first time it is played.
    virtual void play(int sound, const QString &resource) = 0;
    virtual void stopAll() = 0;

    // The module's one entry point, by this name: the sound effects, made as
    // children of owner.
    using Make = SoundEffects *(*)(QObject *owner);
    static constexpr char MakeName[] = "veltrano_sound_effects";
};
