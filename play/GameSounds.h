// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <memory>

class SoundEffects;

// The game's sound effects, and whether the player wants them. Each sound is
// loaded the first time it is played, never before, so that a game played in
// silence costs nothing for them. Without an audio device or sound server
// the sounds are simply not heard: nothing waits for one and nothing is said
// about its absence.
class GameSounds : public QObject
{
    Q_OBJECT

public:
    ~GameSounds() override;

    enum class Sound { Banknote, Diamond, Clock, LightBulb, ExitOpen, LevelDone, LifeLost, GameOver };
    static constexpr int SoundCount = int(Sound::GameOver) + 1;

    // Takes the player's choice from Sound.Log.
    explicit GameSounds(QObject *parent = nullptr);

    // Starts the sound over from its beginning, or does nothing while the
    // sound is switched off. Returns at once; a sound loaded on this call is
    // heard as soon as it is ready.
    void play(Sound sound);

    bool isOn() const { return m_on; }
    // Keeps the choice in Sound.Log for the next run; switching off also
    // silences what is playing.
    void setOn(bool on);
    void toggle() { setOn(!m_on); }

    // Where each sound is compiled in: ":/sounds/banknote.wav".
    static QString resourcePath(Sound sound);
    // The module that plays them: lib/games/veltrano/ beside the executable's
    // folder, as in the build tree and in both installed layouts.
    static QString modulePath();

signals:
    void switched(bool on);

private:
    // The audio layer, loaded at the first sound; nothing when its module
    // cannot be loaded, and the game is silent.
    SoundEffects *effects();
    static void keepMultimediaQuiet();

    bool m_on;
    std::unique_ptr<SoundEffects> m_effects;
    bool m_loaded = false;
};
