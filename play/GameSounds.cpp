// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameSounds.h"

#include "SoundEffects.h"
#include "SoundSetting.h"

#include <QCoreApplication>
#include <QLibrary>

#include <atomic>

namespace {

// What the audio layer says when there is no sound server or device to
// play on, or a sound that cannot be played: the game stays silent then,
// and the player's terminal stays clean.
bool isAudioComplaint(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        return false;
    if (context.category && qstrncmp(context.category, "qt.multimedia", 13) == 0)
        return true;
    static const char *const prefixes[] = {"PulseAudioService:", "QAudioSink:", "QSoundEffect", "No audio device"};
    for (const char *prefix : prefixes) {
        if (message.startsWith(QLatin1String(prefix)))
            return true;
    }
    return false;
}

// The handler that was in place before the audio layer's complaints were
// filtered out; every other message still reaches it.
std::atomic<QtMessageHandler> handlerBefore = nullptr;

void dropAudioComplaints(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!isAudioComplaint(type, context, message))
        handlerBefore.load()(type, context, message);
}

} // namespace

GameSounds::GameSounds(QObject *parent)
    : QObject(parent)
    , m_on(SoundSetting::isOn())
{
}

GameSounds::~GameSounds() = default;

QString GameSounds::resourcePath(Sound sound)
{
    static const char *const names[SoundCount] = {"banknote", "diamond",   "clock",    "lightbulb",
                                                  "exitopen", "leveldone", "lifelost", "gameover"};
    return QStringLiteral(":/sounds/%1.wav").arg(QLatin1String(names[int(sound)]));
}

QString GameSounds::modulePath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../lib/games/veltrano/libveltrano_sounds.so");
}

void GameSounds::play(Sound sound)
{
    if (!m_on)
        return;
    if (SoundEffects *const sounds = effects())
        sounds->play(int(sound), resourcePath(sound));
}

void GameSounds::setOn(bool on)
{
    if (on == m_on)
        return;
    m_on = on;
    if (!on && m_effects)
        m_effects->stopAll();
    SoundSetting::setOn(on);
    emit switched(on);
}

SoundEffects *GameSounds::effects()
{
    if (m_loaded)
        return m_effects.get();
    m_loaded = true;
    keepMultimediaQuiet();
    // Never unloaded: the sounds' objects come from it until the game ends.
    auto *module = new QLibrary(modulePath(), this);
    const auto make = reinterpret_cast<SoundEffects::Make>(module->resolve(SoundEffects::MakeName));
    if (make)
        m_effects.reset(make(this));
    return m_effects.get();
}

void GameSounds::keepMultimediaQuiet()
{
    // Once for the whole program, on the window's thread, before the first
    // sound reaches the audio layer.
    static const bool installed = [] {
        handlerBefore = qInstallMessageHandler(dropAudioComplaints);
        return true;
    }();
    Q_UNUSED(installed);
}
