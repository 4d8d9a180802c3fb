// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BestResults.h"

#include <QString>
#include <QWidget>

class QTimer;

// What lies over the play area now and then: the cover of a paused game,
// which hides the whole board so that a pause cannot be used to plan the
// route, and the banner that says for a moment how the level just left went.
// Neither takes a key or a click: the play screen goes on as if they were
// not there.
class PlayCover : public QWidget
{
    Q_OBJECT

public:
    // How long the banner stays over the board.
    static constexpr int BannerMilliseconds = 2000;

    explicit PlayCover(QWidget *parent);

    void setPaused(bool paused);
    bool isPaused() const { return m_paused; }

    // Shows the lines across the middle of the board for a while, over the
    // board as it then stands; a new banner replaces one still shown.
    void showBanner(const QString &text);
    // The banner's text while it is up, else empty.
    QString banner() const { return m_banner; }
    // A line across the top of the board that stays until it is changed,
    // such as the mark of a run being watched; empty for none.
    void setStrip(const QString &text);
    QString strip() const { return m_strip; }

    // What the banner says after a built-in level's exit; it never claims a
    // best the game could not keep.
    static QString bannerText(int level, int points, int secondsLeft, BestResults::Outcome best);
    // "1400 points, 12 seconds left".
    static QString finishText(const BestResults::Result &result);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void refresh();

    bool m_paused = false;
    QString m_banner;
    QString m_strip;
    QTimer *m_bannerTime = nullptr;
};
