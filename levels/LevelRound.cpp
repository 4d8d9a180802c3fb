// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelRound.h"

#include "LevelRules.h"
#include "LevelTable.h"
#include "Twips.h"

LevelRound::LevelRound(const Start &start, QObject *parent)
    : QObject(parent)
    , m_start(start)
    , m_map(std::make_unique<LevelMap>(start.level))
    , m_play(std::make_unique<LevelPlay>(*m_map, start.score))
    , m_run(start.level)
    , m_lives(start.lives)
{
}

LevelRound::~LevelRound() = default;

bool LevelRound::isCustom() const
{
    return m_start.label == LevelTable::FileMarker || m_start.label == LevelTable::TestMarker;
}

int LevelRound::levelNumber() const
{
    return isCustom() ? 0 : int(LevelRules::read(m_start.label));
}

QString LevelRound::scoreCaption() const
{
    return LevelRules::caption(score());
}

QString LevelRound::cashCaption() const
{
    return LevelRules::caption(m_play->state().cash);
}

QString LevelRound::timeCaption() const
{
    return m_timeChanged ? LevelRules::caption(timeLeft()) : m_start.level.time;
}

void LevelRound::key(int keyCode, qint64 at)
{
    runTo(at);
    if (isOver())
        return;
    const auto arrow = Arrow::ofKeyCode(keyCode);
    // Any key starts the clock; past that only the arrow keys do anything,
    // and so only they go into the run.
    if (!m_clock.isRunning()) {
        m_clock.start();
        m_run.add({m_clock.now(), arrow});
        emit clockRunning(true);
    } else if (arrow) {
        m_run.add({m_clock.now(), arrow});
    }
    if (!arrow)
        return;

    const LevelRules::Press press = m_play->press(*arrow);
    emit figureMoved(figure(), press.facing);
    if (press.timeLeft) {
        m_timeChanged = true;
        emit timeChanged(timeCaption());
        emit secondsAdded(press.tile.seconds);
    }
    if (press.cash)
        emit cashChanged(cashCaption());
    if (press.takesTile)
        emit itemTaken(press.cell, m_map->code(press.cell / Twips::Cell), press.tile.score);
    if (press.score)
        emit scoreChanged(scoreCaption());
    if (press.lightsFloor)
        emit floorLit();
    if (press.cash && *press.cash == 0)
        emit exitOpened();
    if (!press.leaves)
        return;

    m_clock.stop();
    const int level = levelNumber();
    if (isCustom())
        m_outcome = Outcome::Left;
    else if (level == LevelTable::BuiltInLevels)
        m_outcome = Outcome::EndDisplay;
    else
        m_outcome = Outcome::NextLevel;
    emit clockRunning(false);
    emit levelLeft();
}

void LevelRound::runTo(qint64 at)
{
    if (!isOver())
        applyTicks(m_clock.runTo(at));
}

void LevelRound::tick()
{
    if (isOver())
        return;
    if (m_clock.isRunning())
        runTo(m_clock.nextTick());
    else
        applyTicks(1);
}

void LevelRound::pause(qint64 at)
{
    runTo(at);
    if (!m_clock.isRunning())
        return;
    m_clock.stop();
    emit clockRunning(false);
}

void LevelRound::applyTicks(qint64 ticks)
{
    if (ticks <= 0)
        return;
    const LevelRules::Ticks ran = m_play->tick(ticks);
    m_timeChanged = true;
    emit timeChanged(timeCaption());
    if (ran.timeOver)
        timeIsUp();
}

void LevelRound::timeIsUp()
{
    m_clock.stop();
    emit clockRunning(false);
    emit timeOver();
    // Every time over costs an extra life; the one after the last ends the
    // game, the count staying at 0.
    if (m_lives > 0) {
        --m_lives;
        m_outcome = Outcome::Retry;
        emit lifeLost(m_lives);
        return;
    }
    m_lives = 0;
    m_outcome = Outcome::GameOver;
    emit gameOver();
}

std::optional<LevelRound::Start> LevelRound::next() const
{
    switch (m_outcome) {
    case Outcome::Retry:
        return Start{m_start.level, m_start.label, score(), m_lives};
    case Outcome::GameOver:
        if (isCustom())
            return std::nullopt;
        return Start{{}, QStringLiteral("1"), score(), StartingLives};
    case Outcome::NextLevel:
        return Start{{}, QString::number(levelNumber() + 1), score(), m_lives};
    case Outcome::Playing:
    case Outcome::EndDisplay:
    case Outcome::Left:
        break;
    }
    return std::nullopt;
}
