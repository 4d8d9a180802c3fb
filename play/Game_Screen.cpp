// SPDX-License-Identifier: GPL-3.0-or-later
#include "Game_Screen.h"

#include "BestResults.h"
#include "Board.h"
#include "Colors.h"
#include "EndPanel.h"
#include "Fonts.h"
#include "GameSounds.h"
#include "LevelMap.h"
#include "LevelRules.h"
#include "MessageBox.h"
#include "Pictures.h"
#include "PlayCover.h"
#include "ProgressFile.h"
#include "StatusPanel.h"
#include "StepTimer.h"
#include "TileCodes.h"
#include "Twips.h"
#include "VirtualKey.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QTime>
#include <QTimer>

#include <algorithm>

namespace {

const QColor PanelText(224, 224, 224);

QLabel *panelLabel(QWidget *panel, const QString &text, const QRect &twips, const QFont &font,
                   Qt::Alignment alignment)
{
    auto *label = new QLabel(text, panel);
    label->setGeometry(Twips::rect(twips.x(), twips.y(), twips.width(), twips.height()));
    label->setFont(font);
    label->setAlignment(alignment | Qt::AlignVCenter);
    Colors::setForeColor(label, PanelText);
    return label;
}

bool isModifierAlone(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
        return true;
    default:
        return false;
    }
}

} // namespace

Game_Screen::Game_Screen()
    : Form(QStringLiteral("Veltrano"), 9135, 7695, Frame::Dialog)
    , m_random(quint32(QTime::currentTime().msecsSinceStartOfDay()))
{
    setFocusPolicy(Qt::StrongFocus);
    const QColor backColor(128, 128, 255);
    Colors::setBackColor(this, backColor);

    for (int slot = 0; slot < LevelTable::Slots; ++slot)
        m_levels[std::size_t(slot)] = LevelTable::slot(slot);
    for (const Arrow::Direction facing : Arrow::All)
        m_image4[facing] = Pictures::figure(facing);

    m_playArea = new Board(this);
    m_playArea->setGeometry(Twips::rect(0, 0, Twips::MapSize, 7695));
    m_playArea->setTiles({ImageElement{}});
    m_playArea->setFigure(ImageElement{m_image4[Arrow::Down], Twips::Cell, Twips::Cell, {}, true});
    m_playArea->setBackground(backColor);

    auto *status = new StatusPanel(this);
    status->setGeometry(Twips::rect(7680, 0, 1455, 7695));
    const QFont caption = Fonts::arial(9.75);
    const QFont value = Fonts::narkisim(14.25);
    const Qt::Alignment left = Qt::AlignLeft;
    const Qt::Alignment centre = Qt::AlignHCenter;
    panelLabel(status, QStringLiteral("Level:"), {120, 120, 975, 255}, caption, left);
    Label2 = panelLabel(status, QStringLiteral("1"), {120, 360, 975, 255}, value, centre);
    panelLabel(status, QStringLiteral("Score:"), {120, 840, 975, 255}, caption, left);
    Label4 = panelLabel(status, QStringLiteral("0"), {120, 1080, 1095, 255}, value, centre);
    panelLabel(status, QStringLiteral("Screen Cash:"), {120, 1560, 1215, 255}, caption, left);
    Cash = panelLabel(status, QStringLiteral("0"), {120, 1800, 1095, 255}, value, centre);
    panelLabel(status, QStringLiteral("Time Left:"), {120, 2280, 1215, 255}, caption, left);
    Label5 = panelLabel(status, QStringLiteral("0"), {120, 2520, 1095, 255}, value, centre);
    panelLabel(status, QStringLiteral("Extra Lives:"), {120, 3000, 1215, 255}, caption, left);
    Lives_Number = panelLabel(status, QString::number(LevelRound::StartingLives), {1200, 3000, 255, 255},
                              Fonts::arial(9.75, true), left);
    for (int i = 0; i < LevelRound::StartingLives; ++i) {
        auto *icon = new QLabel(status);
        icon->setPixmap(Pictures::lifeIcon());
        icon->setGeometry(Twips::rect(120 + 360 * i, 3360, 480, 480));
        Lives[std::size_t(i)] = icon;
    }
    SoundState = panelLabel(status, QString(), {120, 4080, 1215, 255}, caption, left);
    m_sounds = new GameSounds(this);
    connect(m_sounds, &GameSounds::switched, this, &Game_Screen::showSoundState);
    showSoundState();

    Picture5 = new EndPanel(this);
    Picture5->setGeometry(Twips::rect(0, -7680, 7695, 7695));
    Picture5->hide();
    Label9 = new QLabel(Picture5);
    Label9->setGeometry(Twips::rect(360, 2640, 6735, 2175));
    Label9->setAlignment(Qt::AlignCenter);
    Label9->setWordWrap(true);
    Label9->setFont(Fonts::msSansSerif(13.5));
    Label9->setText(QStringLiteral("Congratulations !!!, You have finished the game !!!\n\n"
                                   "Veltrano was made by its own small team:\n"
                                   "maps, pictures and code drawn from scratch.\n"
                                   "Thank you for playing!"));

    Timer1 = new QTimer(this);
    Timer1->setInterval(int(LevelClock::Second));
    // The timer only wakes the screen: the round's clock, counting the time
    // of play, says which seconds fell due, so a timer that fires a little
    // early or late never adds or loses one.
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, [this] {
        // A tick that was already due when the game paused must not take a
        // second off a covered board.
        if (isPaused() || !m_round) {
            Timer1->stop();
            return;
        }
        // The message a time over brings may see the screen closed.
        const QPointer<Game_Screen> alive(this);
        m_round->runTo(playTime());
        afterStep();
        if (alive)
            followClock();
    });

    m_watchTimer = new QTimer(this);
    m_watchTimer->setSingleShot(true);
    m_watchTimer->setTimerType(Qt::PreciseTimer);
    connect(m_watchTimer, &QTimer::timeout, this, &Game_Screen::playWatched);
    connect(this, &Form::unloaded, m_watchTimer, &QTimer::stop);

    // A screen closed mid-display shows nothing more of it.
    m_steps = new StepTimer(this);
    connect(this, &Form::unloaded, m_steps, &StepTimer::stop);

    m_playArea->setAccessibleName(QStringLiteral("Play area"));
    // Over the play area and the figure, under the end-of-game panel, which
    // is raised above everything when the display starts.
    m_cover = new PlayCover(this);
    m_cover->setGeometry(m_playArea->geometry());
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            pauseWhileAway();
    });
}

void Game_Screen::Form_Load()
{
    loadscreen(isTestPlay() || isWatching() ? LevelTable::CustomSlot : int(value(Label2)) - 1);
    if (!isWatching())
        return;
    m_cover->setStrip(m_watch->title + QStringLiteral(" - any key ends it"));
    m_watch->shown.start();
    m_watchTimer->start(int(WatchLeadIn));
}

void Game_Screen::loadscreen(int index)
{
    build(index, m_round ? m_round->score() : 0, m_round ? m_round->lives() : LevelRound::StartingLives);
}

void Game_Screen::build(int index, double score, int lives)
{
    const LevelRecord &level = m_levels.at(std::size_t(index));
    m_round = std::make_unique<LevelRound>(LevelRound::Start{level, Label2->text(), score, lives});

    std::vector<ImageElement> tiles = Board::layOut(level.rows);
    // Element 0 always exists: a map without codes leaves it bare at the
    // top-left corner, where it blocks like a wall.
    if (tiles.empty())
        tiles.push_back(ImageElement{});
    m_playArea->setTiles(std::move(tiles));
    showRound();
    // A designer trying a map out, or a player watching a run, has not got
    // any further in the game.
    if (!isTestPlay() && !isWatching())
        ProgressFile::record(index);
}

void Game_Screen::showRound()
{
    LevelRound *round = m_round.get();
    const QPoint start = round->figure();
    m_playArea->setFigure(ImageElement{m_image4[Arrow::Down], start.x(), start.y(), {}, true});
    const LevelRecord &level = round->start().level;
    setBackground(level.color ? Colors::fromValue(*level.color) : Colors::buttonFace());
    Cash->setText(round->cashCaption());
    Label5->setText(round->timeCaption());
    Label4->setText(round->scoreCaption());
    Lives_Number->setText(QString::number(round->lives()));
    for (int icon = 0; icon < int(Lives.size()); ++icon)
        Lives[std::size_t(icon)]->setVisible(icon < round->lives());
    Timer1->stop();

    connect(round, &LevelRound::figureMoved, this, [this](const QPoint &twips, Arrow::Direction facing) {
        m_playArea->setFigure(ImageElement{m_image4[facing], twips.x(), twips.y(), {}, true});
    });
    connect(round, &LevelRound::itemTaken, this, [this](const QPoint &twips) {
        // Check_Ex leaves the index of the tile met in TileIndex, which a
        // taken tile is cleared by.
        Check_Ex(twips.x(), twips.y());
        clearTile();
    });
    connect(round, &LevelRound::scoreChanged, Label4, &QLabel::setText);
    connect(round, &LevelRound::cashChanged, Cash, &QLabel::setText);
    connect(round, &LevelRound::timeChanged, Label5, &QLabel::setText);
    connect(round, &LevelRound::floorLit, this, [this] { setBackground(Qt::white); });
    connect(round, &LevelRound::lifeLost, this, [this](int lives) {
        Lives_Number->setText(QString::number(lives));
        if (lives >= 0 && lives < int(Lives.size()))
            Lives[std::size_t(lives)]->hide();
    });
    wireSounds();
    connect(round, &LevelRound::clockRunning, this, [this](bool running) {
        if (!running) {
            Timer1->stop();
            return;
        }
        m_sinceClock.start();
        followClock();
    });
}

void Game_Screen::wireSounds()
{
    LevelRound *round = m_round.get();
    connect(round, &LevelRound::itemTaken, m_sounds, [this, round](const QPoint &, int code) {
        switch (code) {
        case TileCodes::Banknote:
        case TileCodes::Diamond:
            // The last of them opens the exit, which has a sound of its own.
            if (round->cashCaption() != u"0")
                m_sounds->play(code == TileCodes::Banknote ? GameSounds::Sound::Banknote : GameSounds::Sound::Diamond);
            break;
        case TileCodes::Clock:
            m_sounds->play(GameSounds::Sound::Clock);
            break;
        case TileCodes::LightBulb:
            m_sounds->play(GameSounds::Sound::LightBulb);
            break;
        default:
            break;
        }
    });
    connect(round, &LevelRound::exitOpened, m_sounds, [this] { m_sounds->play(GameSounds::Sound::ExitOpen); });
    connect(round, &LevelRound::levelLeft, m_sounds, [this] { m_sounds->play(GameSounds::Sound::LevelDone); });
    connect(round, &LevelRound::lifeLost, m_sounds, [this] { m_sounds->play(GameSounds::Sound::LifeLost); });
    connect(round, &LevelRound::gameOver, m_sounds, [this] { m_sounds->play(GameSounds::Sound::GameOver); });
}

void Game_Screen::showSoundState()
{
    SoundState->setText(m_sounds->isOn() ? QStringLiteral("Sound on (M)") : QStringLiteral("Sound off (M)"));
}

qint64 Game_Screen::playTime()
{
    const LevelClock &clock = m_round->clock();
    if (!clock.isRunning() || !m_sinceClock.isValid())
        return clock.now();
    return clock.now() + m_sinceClock.restart();
}

void Game_Screen::followClock()
{
    // A watched run keeps to its own times.
    if (!m_round || !m_round->clock().isRunning() || isWatching()) {
        Timer1->stop();
        return;
    }
    const LevelClock &clock = m_round->clock();
    Timer1->start(int(clock.nextTick() - clock.now()));
}

void Game_Screen::setBackground(const QColor &color)
{
    m_playArea->setBackground(color);
}

void Game_Screen::keyPressEvent(QKeyEvent *event)
{
    const int key = VirtualKey::of(event);
    if (isWatching()) {
        if (!event->isAutoRepeat() && !isModifierAlone(event))
            emit watchEnded();
        return;
    }
    // Sound on or off is no move and no sign of being ready to play: the
    // clock and a pause stay as they were.
    if (event->key() == Qt::Key_M && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        if (!event->isAutoRepeat())
            m_sounds->toggle();
        return;
    }
    if (isPaused()) {
        // A key held down from before the pause, or Shift, Control or Alt
        // alone on the way back from another application, is no sign that
        // the player is ready to play on.
        if (event->isAutoRepeat() || isModifierAlone(event))
            return;
        // The way out of a game by the keyboard, as the close box is.
        if (event->key() == Qt::Key_Q) {
            close();
            return;
        }
        m_cover->setPaused(false);
    } else if (key == VirtualKey::Escape || key == VirtualKey::Pause) {
        pause();
        return;
    }
    Form_KeyDown(key, event->modifiers() & Qt::ShiftModifier ? 1 : 0);
}

bool Game_Screen::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::WindowDeactivate:
        pauseWhileAway();
        break;
    case QEvent::WindowStateChange:
        if (isMinimized())
            pauseWhileAway();
        break;
    default:
        break;
    }
    return Form::event(event);
}

void Game_Screen::pause()
{
    if (m_finishing || isUnloaded() || isWatching())
        return;
    // What the player has used of the second in progress stays used, or
    // pausing again and again would keep the clock from ever ticking; a
    // second that was already due stays for the timer to tell.
    if (m_round && m_round->clock().isRunning())
        m_round->pause(std::min(playTime(), m_round->clock().nextTick() - 1));
    Timer1->stop();
    m_cover->setPaused(true);
}

bool Game_Screen::isPaused() const
{
    return m_cover->isPaused();
}

void Game_Screen::pauseWhileAway()
{
    // The game's own message boxes take the keyboard with the clock already
    // stopped; a board that is not counting down has no time to lose.
    if (!Timer1->isActive() || QApplication::activeModalWidget())
        return;
    pause();
}

void Game_Screen::Form_KeyDown(int KeyCode, int Shift)
{
    Q_UNUSED(Shift);
    // The figure lies hidden under the end panel while the display runs; a
    // key there must not start the clock or a second display. A screen that
    // is closing takes no more steps either.
    if (m_finishing || isUnloaded() || !m_round || isWatching())
        return;
    m_round->key(KeyCode, playTime());
    afterStep();
}

void Game_Screen::playWatched()
{
    if (!m_round || !m_watch)
        return;
    const QList<LevelRun::Key> &keys = m_watch->run.keys();
    const qint64 now = m_watch->shown.elapsed() - WatchLeadIn;
    // Each key goes in at its own time, whenever the timer wakes, so that the
    // round meets keys and seconds in the order they had when played.
    while (m_watch->next < keys.size() && keys.at(m_watch->next).at <= now && !m_round->isOver()) {
        const LevelRun::Key &key = keys.at(m_watch->next++);
        m_round->key(key.arrow ? Arrow::keyCode(*key.arrow) : VirtualKey::Space, key.at);
    }
    if (!m_round->isOver() && m_round->clock().isRunning())
        m_round->runTo(std::max(now, m_round->clock().now()));
    if (m_round->isOver() || (m_watch->next == keys.size() && !m_round->clock().isRunning())) {
        const QString end = m_round->isWon() ? QStringLiteral("out with ") + PlayCover::finishText(m_round->result())
                                             : QStringLiteral("it ends here");
        m_cover->setStrip(QStringLiteral("%1 - %2 - any key ends it").arg(m_watch->title, end));
        return;
    }
    qint64 wake = m_watch->next < keys.size() ? keys.at(m_watch->next).at : m_round->clock().nextTick();
    if (m_round->clock().isRunning())
        wake = std::min(wake, m_round->clock().nextTick());
    m_watchTimer->start(int(std::max<qint64>(wake - now, 0)));
}

void Game_Screen::clearTile()
{
    ImageElement tile = Image1().at(std::size_t(m_tileIndex));
    tile.picture = QPixmap();
    tile.tag = QStringLiteral("0");
    m_playArea->setTile(std::size_t(m_tileIndex), tile);
}

void Game_Screen::afterStep()
{
    if (!m_round || !m_round->isOver())
        return;
    const LevelRound::Outcome outcome = m_round->outcome();
    const std::optional<LevelRound::Start> next = m_round->next();
    const bool fromFile = m_round->isCustom();
    switch (outcome) {
    case LevelRound::Outcome::Playing:
        return;
    case LevelRound::Outcome::NextLevel:
    case LevelRound::Outcome::EndDisplay:
    case LevelRound::Outcome::Left:
        levelEnd();
        return;
    case LevelRound::Outcome::Retry:
    case LevelRound::Outcome::GameOver:
        break;
    }

    // The screen may be closed, and gone, by the time the player answers.
    const QPointer<Game_Screen> alive(this);
    MessageBox::show(this, outcome == LevelRound::Outcome::Retry ? QStringLiteral("TIME OVER, Retry...")
                                                                 : QStringLiteral("You'r Finished !!!"));
    if (!alive || isUnloaded())
        return;
    if (!next) {
        emit playReported(QStringLiteral("the time ran out with no extra life left"));
        emit fileLevelEnded();
        return;
    }
    if (outcome == LevelRound::Outcome::GameOver)
        Label2->setText(next->label);
    build(fromFile ? LevelTable::CustomSlot : int(value(Label2)) - 1, next->score, next->lives);
}

void Game_Screen::levelEnd()
{
    if (playsCustomSlot()) {
        const QString done = PlayCover::finishText(m_round->result());
        emit playReported(QStringLiteral("out through the exit with ") + done);
        if (isTestPlay()) {
            emit fileLevelEnded();
            return;
        }
        // The player sees how the level went before the load-level screen
        // is back; keys do nothing meanwhile, the round being over.
        m_cover->showBanner(
            QStringLiteral("%1 done\n%2").arg(m_fileName.isEmpty() ? QStringLiteral("The level") : m_fileName, done));
        QTimer::singleShot(PlayCover::BannerMilliseconds, this, [this] {
            if (!isUnloaded())
                emit fileLevelEnded();
        });
        return;
    }
    const int level = int(value(Label2));
    if (level >= 1 && level <= LevelTable::BuiltInLevels) {
        const BestResults::Result result = m_round->result();
        const BestResults::Outcome best = BestResults::record(level, result);
        // The run behind a best is kept beside it, so that it can be
        // watched and checked against the best it claims.
        if (best == BestResults::Outcome::Kept)
            m_round->run().write(LevelRun::path(level));
        m_cover->showBanner(PlayCover::bannerText(level, result.points, result.secondsLeft, best));
    }
    if (level == LevelTable::BuiltInLevels) {
        finish();
        return;
    }
    const std::optional<LevelRound::Start> next = m_round->next();
    setValue(Label2, level + 1);
    build(level, next->score, next->lives);
}

int Game_Screen::Check_Ex(int x, int y)
{
    const std::vector<ImageElement> &tiles = Image1();
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        const ImageElement &tile = tiles[i];
        if (tile.left == x && tile.top == y) {
            m_tileIndex = int(i);
            return TileCodes::number(tile.tag);
        }
    }
    m_tileIndex = 1000;
    return TileCodes::Wall;
}

void Game_Screen::Timer1_Timer()
{
    if (!m_round)
        return;
    m_round->tick();
    if (m_sinceClock.isValid())
        m_sinceClock.restart();
    afterStep();
}

void Game_Screen::finish()
{
    if (m_finishing)
        return;
    m_finishing = true;
    Timer1->stop();
    m_turns = 0;
    m_steps->start(2, [this] { return displayStep(); });
}

std::optional<double> Game_Screen::displayStep()
{
    if (m_turns == 0) {
        for (std::size_t i = 0; i < m_image4.size(); ++i)
            m_image5[i] = m_image4[i];
        Picture5->setCorners(m_image4);
        Label9->show();
        Picture5->move(0, 0);
        Picture5->show();
        Picture5->raise();
    } else if (m_turns == DisplayTurns) {
        // The game is over; what follows the screen is what follows a level
        // from a file.
        Label2->setText(LevelTable::FileMarker);
        emit gameFinished();
        return std::nullopt;
    }

    Timer1->stop();
    const int red = random(255);
    const int green = random(255);
    const int blue = random(255);
    Colors::setForeColor(Label9, QColor(red, green, blue));

    // Each picture moves on one corner: top left to top right, top right
    // to bottom left, bottom left to bottom right, bottom right to top left.
    m_image5[4] = m_image5[3];
    m_image5[3] = m_image5[2];
    m_image5[2] = m_image5[1];
    m_image5[1] = m_image5[0];
    m_image5[0] = m_image5[4];
    Picture5->setCorners({m_image5[0], m_image5[1], m_image5[2], m_image5[3]});
    ++m_turns;
    return 0.5;
}

int Game_Screen::random(int upto)
{
    return int(upto * m_random.generateDouble() + 1);
}

void Game_Screen::setCustomLevel(const LevelRecord &level)
{
    m_levels[LevelTable::CustomSlot] = level;
}

void Game_Screen::Form_Unload(bool &cancel)
{
    Q_UNUSED(cancel);
    Timer1->stop();
}

void Game_Screen::playLevel(int level)
{
    Label2->setText(QString::number(level));
    loadscreen(level - 1);
}

void Game_Screen::playFile(const LevelRecord &level, const QString &fileName)
{
    m_fileName = fileName;
    setCustomLevel(level);
    Label2->setText(LevelTable::FileMarker);
    loadscreen(LevelTable::CustomSlot);
}

bool Game_Screen::isFileLevel() const
{
    return Label2->text() == LevelTable::FileMarker;
}

void Game_Screen::prepareTestPlay(const LevelRecord &level)
{
    setCustomLevel(level);
    Label2->setText(LevelTable::TestMarker);
}

void Game_Screen::prepareWatch(const LevelRun &run, const QString &label, const QString &title)
{
    setCustomLevel(run.level());
    Label2->setText(label);
    m_watch = Watch{run, title, 0, {}};
}

bool Game_Screen::isTestPlay() const
{
    return Label2->text() == LevelTable::TestMarker;
}

bool Game_Screen::playsCustomSlot() const
{
    return isFileLevel() || isTestPlay();
}

double Game_Screen::value(const QLabel *label)
{
    return LevelRules::read(label->text());
}

void Game_Screen::setValue(QLabel *label, double number)
{
    label->setText(LevelRules::caption(number));
}

const std::vector<ImageElement> &Game_Screen::Image1() const
{
    return m_playArea->tiles();
}

const ImageElement &Game_Screen::Image3() const
{
    return *m_playArea->figure();
}

QColor Game_Screen::backColor() const
{
    return m_playArea->background();
}
