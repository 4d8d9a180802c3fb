// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SoundEffects.h"

#include <QList>

class QObject;
class QSoundEffect;

// The sound effects on Qt Multimedia, inside the veltrano_sounds module.
class SoundModule : public SoundEffects
{
public:
    explicit SoundModule(QObject *owner);

    void play(int sound, const QString &resource) override;
    void stopAll() override;

private:
    QObject *m_owner;
    // By sound; each made on its first play, a child of the owner.
    QList<QSoundEffect *> m_effects;
};
