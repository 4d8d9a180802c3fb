// SPDX-License-Identifier: GPL-3.0-or-later
#include "SoundModule.h"

#include <QSoundEffect>
#include <QUrl>

SoundModule::SoundModule(QObject *owner)
    : m_owner(owner)
{
}

void SoundModule::play(int sound, const QString &resource)
{
    if (sound >= m_effects.size())
        m_effects.resize(sound + 1);
    QSoundEffect *&effect = m_effects[sound];
    if (!effect) {
        effect = new QSoundEffect(m_owner);
        effect->setSource(QUrl(QLatin1String("qrc") + resource));
    }
    effect->stop();
    effect->play();
}

void SoundModule::stopAll()
{
    for (QSoundEffect *const effect : std::as_const(m_effects)) {
        if (effect)
            effect->stop();
    }
}

extern "C" Q_DECL_EXPORT SoundEffects *veltrano_sound_effects(QObject *owner)
{
    return new SoundModule(owner);
}
