// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameSounds.h"

#include "SoundSetting.h"

#include <QSoundEffect>
#include <QUrl>

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

QString GameSounds::resourcePath(Sound sound)
{
    static const char *const names[SoundCount] = {"banknote", "diamond",   "clock",    "lightbulb",
                                                  "exitopen", "leveldone", "lifelost", "gameover"};
    return QStringLiteral(":/sounds/%1.wav").arg(QLatin1String(names[int(sound)]));
}

void GameSounds::play(Sound sound)
{
    if (!m_on)
        return;
    QSoundEffect *const sample = effect(sound);
    sample->stop();
    sample->play();
}

void GameSounds::setOn(bool on)
{
    if (on == m_on)
        return;
    m_on = on;
    if (!on) {
        for (QSoundEffect *const sample : m_effects) {
            if (sample)
                sample->stop();
        }
    }
    SoundSetting::setOn(on);
    emit switched(on);
}

QSoundEffect *GameSounds::effect(Sound sound)
{
    QSoundEffect *&sample = m_effects[size_t(sound)];
    if (!sample) {
        keepMultimediaQuiet();
        sample = new QSoundEffect(this);
        sample->setSource(QUrl(QLatin1String("qrc") + resourcePath(sound)));
    }
    return sample;
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
