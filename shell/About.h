// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Form.h"

class PictureBox;
class QLabel;
class QTimer;
class StepTimer;

// The about screen: the credits typed out one character at a time, the
// player figure uncovered and covered again, two curtains drawn over the
// window, and all of it again until the window is closed.
class About : public Form
{
    Q_OBJECT

public:
    // The typing takes this many steps whatever the text's length; once the
    // whole text stands, the remaining steps change nothing.
    static constexpr int TypingSteps = 649;

    About();

    // The 28 lines of credits, separated by CR LF.
    static QString credits();

    // The first tick, 100 ms after the window opens, starts the credits,
    // which run for as long as the window stays open.
    void Timer1_Timer();

    // Makes the next change of the credits and returns the pause in seconds
    // that follows it.
    double nextStep();

    QLabel *Label1 = nullptr;       // the text typed so far, over the whole window
    QLabel *Label2 = nullptr;       // the full text, out of sight
    PictureBox *Picture1 = nullptr; // the cover over the player figure
    PictureBox *Picture2 = nullptr; // holds the player figure
    QLabel *Image1 = nullptr;       // the player figure, enlarged
    PictureBox *Picture3 = nullptr; // the right curtain
    PictureBox *Picture4 = nullptr; // the left curtain
    QTimer *Timer1 = nullptr;

    // The credits' steps; tests run them fast.
    StepTimer *steps() const { return m_steps; }

private:
    enum class Phase { Typing, Uncover, Blind, Curtains };

    Phase m_phase = Phase::Typing;
    int m_i = 1; // the typing position
    StepTimer *m_steps = nullptr;
};
