// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameSounds.h"
#include "ScratchDir.h"
#include "SoundSetting.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QSoundEffect>
#include <QTest>
#include <QtEndian>

using Sound = GameSounds::Sound;

// The sound effects are compiled in as short, quiet WAV files, they are
// loaded only when first played, and a game without any audio to play them
// on stays silent and says nothing about it; the player's choice to switch
// them off is kept.
class TestSounds : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everySoundIsAShortQuietWave_data();
    void everySoundIsAShortQuietWave();
    void soundIsOnUnlessTheFileSaysOff_data();
    void soundIsOnUnlessTheFileSaysOff();
    void switchingOffIsKeptAndLoadsNothing();
    void playingWithoutAudioSaysNothing();
};

void TestSounds::initTestCase()
{
    // No sound server, even on a machine that runs one.
    qputenv("PULSE_SERVER", "unix:/nonexistent/veltrano-test");
}

void TestSounds::everySoundIsAShortQuietWave_data()
{
    QTest::addColumn<Sound>("sound");
    for (int sound = 0; sound < GameSounds::SoundCount; ++sound)
        QTest::newRow(qPrintable(GameSounds::resourcePath(Sound(sound)))) << Sound(sound);
}

// 16-bit PCM, mono, under a second, loud enough to hear and never near full
// scale, so that neither clipping nor a startling sound slips in.
void TestSounds::everySoundIsAShortQuietWave()
{
    QFETCH(const Sound, sound);
    QFile file(GameSounds::resourcePath(sound));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray wave = file.readAll();
    QVERIFY(wave.startsWith("RIFF") && wave.mid(8, 4) == "WAVE");
    const auto number = [&wave](qsizetype at, int bytes) {
        return bytes == 2 ? qFromLittleEndian<quint16>(wave.constData() + at)
                          : qFromLittleEndian<quint32>(wave.constData() + at);
    };
    QByteArray samples;
    quint32 rate = 0;
    for (qsizetype at = 12; at + 8 <= wave.size(); at += 8 + number(at + 4, 4)) {
        if (wave.mid(at, 4) == "fmt ") {
            QCOMPARE(number(at + 8, 2), 1u);  // PCM
            QCOMPARE(number(at + 10, 2), 1u); // mono
            rate = number(at + 12, 4);
            QCOMPARE(number(at + 22, 2), 16u);
        } else if (wave.mid(at, 4) == "data") {
            samples = wave.mid(at + 8, number(at + 4, 4));
        }
    }
    QVERIFY(rate == 22050 || rate == 44100);
    const qsizetype count = samples.size() / 2;
    QVERIFY(count > 0 && count < qsizetype(rate));
    int peak = 0;
    for (qsizetype i = 0; i < count; ++i)
        peak = std::max(peak, std::abs(int(qFromLittleEndian<qint16>(samples.constData() + 2 * i))));
    QVERIFY2(peak > 32768 / 10 && peak < 32768 / 2, qPrintable(QString::number(peak)));
}

void TestSounds::soundIsOnUnlessTheFileSaysOff_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("on");
    QTest::newRow("no file") << QByteArray() << true;
    QTest::newRow("on") << SoundSetting::content(true) << true;
    QTest::newRow("off") << SoundSetting::content(false) << false;
    QTest::newRow("edited") << QByteArray("\xEF\xBB\xBF Off \n") << false;
    QTest::newRow("empty") << QByteArray("") << true;
    QTest::newRow("cut short") << QByteArray("of") << true;
    QTest::newRow("garbage") << QByteArray("\0\xff off", 6) << true;
    QTest::newRow("off twice") << QByteArray("off\r\noff\r\n") << true;
}

void TestSounds::soundIsOnUnlessTheFileSaysOff()
{
    QFETCH(const QByteArray, content);
    QFETCH(const bool, on);
    const ScratchDir dir;
    if (!content.isNull())
        dir.write(QStringLiteral("Sound.Log"), content);
    QCOMPARE(SoundSetting::isOn(), on);
    QCOMPARE(GameSounds().isOn(), on);
}

void TestSounds::switchingOffIsKeptAndLoadsNothing()
{
    const ScratchDir dir;
    GameSounds sounds;
    QSignalSpy switched(&sounds, &GameSounds::switched);
    sounds.toggle();
    QCOMPARE(switched.takeFirst(), QVariantList{false});
    QCOMPARE(dir.read(QStringLiteral("Sound.Log")), QByteArray("off\r\n"));
    GameSounds nextRun;
    QSignalSpy nextSwitched(&nextRun, &GameSounds::switched);
    QVERIFY(!nextRun.isOn());
    nextRun.play(Sound::LevelDone);
    QVERIFY(nextRun.findChildren<QSoundEffect *>().isEmpty());
    nextRun.setOn(false);
    QCOMPARE(nextSwitched.count(), 0);
    nextRun.toggle();
    QCOMPARE(nextSwitched.takeFirst(), QVariantList{true});
    QCOMPARE(dir.read(QStringLiteral("Sound.Log")), QByteArray("on\r\n"));
}

void TestSounds::playingWithoutAudioSaysNothing()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    const ScratchDir dir;
    GameSounds sounds;
    QVERIFY(sounds.findChildren<QSoundEffect *>().isEmpty());
    sounds.play(Sound::Banknote);
    const QList<QSoundEffect *> effects = sounds.findChildren<QSoundEffect *>();
    QCOMPARE(effects.size(), 1);
    // The first play starts the loading and does not wait for it.
    QCOMPARE(effects.first()->status(), QSoundEffect::Loading);
    for (int sound = 0; sound < GameSounds::SoundCount; ++sound)
        sounds.play(Sound(sound));
    QCOMPARE(sounds.findChildren<QSoundEffect *>().size(), GameSounds::SoundCount);
    for (const QSoundEffect *const effect : sounds.findChildren<QSoundEffect *>())
        QTRY_VERIFY(effect->status() != QSoundEffect::Loading);
}

QTEST_MAIN(TestSounds)
#include "tst_sounds.moc"
