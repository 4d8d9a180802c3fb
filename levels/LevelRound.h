// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Arrow.h"
#include "BestResults.h"
#include "LevelClock.h"
#include "LevelMap.h"
#include "LevelPlay.h"
#include "LevelRecord.h"
#include "LevelRun.h"

#include <QObject>
#include <QPoint>
#include <QString>

#include <memory>
#include <optional>

// One play of one level, from its build to its end: the keys and the level
// clock in, what happened out. It holds the clock (ticks of one second of
// play from the first key), the extra lives, the score carried in from the
// levels before, and what comes after it: the same level again, a new game,
// the next level, the end-of-game display or, for a level from a file or an
// editor's test play, the screen it came from. The play screen shows a round
// as it goes; the level checker and a replay play one without a screen, and
// so get exactly what a player gets for the same keys at the same times.
class LevelRound : public QObject
{
    Q_OBJECT

public:
    // What a round is built from: the level and where the game stands.
    struct Start
    {
        LevelRecord level;
        // The panel's level caption: "1" to "20", "File" or "Test".
        QString label;
        double score = 0;
        int lives = StartingLives;
    };

    // The round's end, and what the play screen does next.
    enum class Outcome {
        Playing,
        Retry,      // time over with an extra life left: the level again
        GameOver,   // time over without one
        NextLevel,  // out through the exit of a built-in level before the last
        EndDisplay, // out through the exit of the last built-in level
        Left,       // out through the exit of a level from a file or a test play
    };

    explicit LevelRound(const Start &start, QObject *parent = nullptr);
    ~LevelRound() override;

    // Any key, by its virtual-key code, at a time of play in milliseconds:
    // the clock ticks up to that time first, then the key starts a clock that
    // stands, and an arrow key plays its step. Once the round is over no key
    // does anything.
    void key(int keyCode, qint64 at);
    // The clock ticks up to a time of play.
    void runTo(qint64 at);
    // One second of the level clock, whenever it falls.
    void tick();
    // Stands the clock still at a time of play, keeping the part of the
    // second used.
    void pause(qint64 at);

    const LevelClock &clock() const { return m_clock; }
    Outcome outcome() const { return m_outcome; }
    bool isOver() const { return m_outcome != Outcome::Playing; }
    // Out through the exit.
    bool isWon() const
    {
        return m_outcome == Outcome::NextLevel || m_outcome == Outcome::EndDisplay || m_outcome == Outcome::Left;
    }
    // A level from a file or an editor's test play.
    bool isCustom() const;
    int levelNumber() const;
    const Start &start() const { return m_start; }

    // The panel's captions as the player reads them.
    QString scoreCaption() const;
    QString cashCaption() const;
    // The level's own time text until the clock first changes it.
    QString timeCaption() const;
    double score() const { return m_play->score(); }
    double timeLeft() const { return m_play->timeLeft(); }
    int lives() const { return m_lives; }
    QPoint figure() const { return m_play->figureTwips(); }

    // A finish as the best results keep it: the whole seconds left, and the
    // points the level is worth, all of which are taken before the exit opens.
    BestResults::Result result() const { return {int(timeLeft()), m_map->points()}; }

    // What comes after a round that is over, for Retry, GameOver (a built-in
    // level: a new game from level 1) and NextLevel; nothing for the others,
    // which leave the play screen. The record of the next level is the
    // caller's to fill in from its level table: the level number is in label.
    std::optional<Start> next() const;

    // The keys played so far, each at its time of play.
    const LevelRun &run() const { return m_run; }

    static constexpr int StartingLives = 3;

signals:
    // The figure turned to face an arrow, and stands at these twips.
    void figureMoved(const QPoint &twips, Arrow::Direction facing);
    // A tile was taken at these twips; a banknote or diamond changes the
    // screen cash, a clock the time left.
    void itemTaken(const QPoint &twips, int code, int points);
    void scoreChanged(const QString &caption);
    void cashChanged(const QString &caption);
    void timeChanged(const QString &caption);
    void secondsAdded(int seconds);
    void floorLit();
    // The last banknote or diamond is taken: the exit lets the figure out.
    void exitOpened();
    void timeOver();
    // Time over cost an extra life; this many are left.
    void lifeLost(int lives);
    void gameOver();
    void levelLeft();
    // The clock started or stood still.
    void clockRunning(bool running);

private:
    void applyTicks(qint64 ticks);
    void timeIsUp();

    Start m_start;
    std::unique_ptr<LevelMap> m_map;
    std::unique_ptr<LevelPlay> m_play;
    LevelClock m_clock;
    LevelRun m_run;
    int m_lives = StartingLives;
    bool m_timeChanged = false;
    Outcome m_outcome = Outcome::Playing;
};
