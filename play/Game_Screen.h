// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Form.h"
#include "ImageElement.h"
#include "LevelRecord.h"
#include "LevelRound.h"
#include "LevelTable.h"

#include <QColor>
#include <QElapsedTimer>
#include <QPixmap>
#include <QRandomGenerator>

#include <array>
#include <memory>
#include <optional>
#include <vector>

class Board;
class EndPanel;
class GameSounds;
class PlayCover;
class QLabel;
class QTimer;
class StepTimer;

// The play screen: the view of a round of play (LevelRound). It builds a
// level from its level table, hands the round the keys and the time of play,
// shows what the round tells in its labels, tile images and figure, asks the
// player what the round's end calls for, and plays the end-of-game display.
class Game_Screen : public Form
{
    Q_OBJECT

public:
    Game_Screen();

    void Form_Load() override;

    // Builds a slot of the level table (0..20): tiles, screen cash, figure,
    // colour, time; stops the clock and records the progress.
    void loadscreen(int index);
    // Builds built-in level n (1..20) with its number on the panel.
    void playLevel(int level);
    // Builds the level of a file in the custom slot, "File" on the panel;
    // the file's name is what the banner names when it is won.
    void playFile(const LevelRecord &level, const QString &fileName = {});
    // The level on the screen came from a file.
    bool isFileLevel() const;
    // Makes a fresh screen's first build the editor's map in the custom
    // slot, "Test" on the panel; called before its Form_Load, so that the
    // progress file is never touched by a test play.
    void prepareTestPlay(const LevelRecord &level);
    // The editor's map is being tried out.
    bool isTestPlay() const;
    // Makes a fresh screen's first build a run played for the player to
    // watch instead of a game: the run's level in the custom slot, the label
    // on the panel ("1".."20" or "File"), each key at its own time of play,
    // and the title across the top of the board. Called before its
    // Form_Load; the watched play writes nothing, and any key ends it.
    void prepareWatch(const LevelRun &run, const QString &label, const QString &title);
    bool isWatching() const { return m_watch.has_value(); }

    // One complete step of the game for a key, by its virtual-key code.
    void Form_KeyDown(int KeyCode, int Shift);
    // One second of the level clock.
    void Timer1_Timer();
    // The end-of-game display after the exit of level 20: two seconds, then
    // the panel over the play area with its corner pictures turning and the
    // text changing colour every half second, 31 times. It runs on its own
    // while the screen keeps handling events; a key does nothing meanwhile.
    void finish();
    // The display's steps; tests run them fast.
    StepTimer *steps() const { return m_steps; }

    // The code of the tile at exactly this position, the lowest index first;
    // 1, a wall, where none stands. Leaves the tile's index in TileIndex, or
    // 1000 when none was found.
    int Check_Ex(int x, int y);

    // A whole number from 1 to upto.
    int random(int upto);

    // The custom slot as the load-level screen fills it from a level file.
    void setCustomLevel(const LevelRecord &level);
    const LevelRecord &level(int slot) const { return m_levels.at(std::size_t(slot)); }

    const std::vector<ImageElement> &Image1() const;
    const ImageElement &Image3() const;
    QColor backColor() const;
    int TileIndex() const { return m_tileIndex; }
    bool isFinishing() const { return m_finishing; }

    // Stops the clock and covers the board until the next key, which is then
    // handled as any key is and so starts the clock again, with what was
    // left of the second the pause cut into. Escape and Pause
    // ask for it; so does leaving the screen for another application or
    // minimising it while the clock runs. The end-of-game display and a
    // closing screen are never paused.
    void pause();
    bool isPaused() const;
    // The pause cover and the banner after a level's exit.
    PlayCover *cover() const { return m_cover; }

    // The status panel and the clock; other windows and the tests read and
    // write these captions as the game's state.
    QLabel *Label2 = nullptr;       // level number, "File" or "Test"
    QLabel *Label4 = nullptr;       // score
    QLabel *Cash = nullptr;         // banknotes and diamonds left
    QLabel *Label5 = nullptr;       // seconds left
    QLabel *Lives_Number = nullptr; // extra lives
    QLabel *SoundState = nullptr;   // whether sound is on, and the key that switches it
    std::array<QLabel *, LevelRound::StartingLives> Lives{};
    QLabel *Label9 = nullptr;       // the end-of-game text
    EndPanel *Picture5 = nullptr;   // the end-of-game panel
    QTimer *Timer1 = nullptr;

signals:
    // A level from a file or a test play is over, left through its exit or
    // lost with the last life: the screen is done with it.
    void fileLevelEnded();
    // The end-of-game display has run its course.
    void gameFinished();
    // A key ended a watched run: the screen is done with it.
    void watchEnded();
    // How a level from a file or a test play ended, in words for the window
    // it came from to put in a sentence: out through the exit, or why not.
    void playReported(const QString &report);

protected:
    void Form_Unload(bool &cancel) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool event(QEvent *event) override;

private:
    // A level from a file or a test play: both live in the custom slot and
    // end the play screen's part.
    bool playsCustomSlot() const;
    std::optional<double> displayStep();
    void clearTile();
    void setBackground(const QColor &color);
    // Builds a slot as the next round: the level, where the game stands.
    void build(int index, double score, int lives);
    void showRound();
    // The round's clock brought up to the present, as a time of play.
    qint64 playTime();
    // Keeps the tick timer on the round's next second while its clock runs.
    void followClock();
    // Whatever the round's end calls for: a message, the next build, the
    // end display or the screen's end.
    void afterStep();
    void levelEnd();
    void wireSounds();
    void showSoundState();
    // Plays the watched run's keys that have fallen due, and the clock's
    // seconds, and wakes for the next.
    void playWatched();
    // The player has turned to something else: a running clock stops.
    void pauseWhileAway();

    static double value(const QLabel *label);
    static void setValue(QLabel *label, double number);

    std::array<LevelRecord, LevelTable::Slots> m_levels;
    std::array<QPixmap, 4> m_image4;
    std::array<QPixmap, 5> m_image5;
    int m_tileIndex = 0;
    bool m_finishing = false;
    static constexpr int DisplayTurns = 31;
    // The round on the screen; a build starts a new one.
    std::unique_ptr<LevelRound> m_round;
    // The time since the round's clock was last brought up to date.
    QElapsedTimer m_sinceClock;
    struct Watch
    {
        LevelRun run;
        QString title;
        qsizetype next = 0;
        // Since the board was shown; the first key comes a moment later.
        QElapsedTimer shown;
    };
    std::optional<Watch> m_watch;
    GameSounds *m_sounds = nullptr;
    QString m_fileName;
    QTimer *m_watchTimer = nullptr;
    // The watched board stands still this long before its first key.
    static constexpr qint64 WatchLeadIn = 1000;
    int m_turns = 0;
    StepTimer *m_steps = nullptr;
    QRandomGenerator m_random;
    Board *m_playArea = nullptr;
    PlayCover *m_cover = nullptr;
};
