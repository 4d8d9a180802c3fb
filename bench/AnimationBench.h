// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class Forms;

// What the game's two animations cost while they wait between their steps:
// the about screen's credits and the end-of-game display. Both pause by
// letting the event loop sleep, so they should use a few percent of a core
// at most.
class AnimationBench
{
public:
    struct Use
    {
        double percentOfCore = 0;
        double cpuSeconds = 0;
        double wallSeconds = 0;
    };

    explicit AnimationBench(Forms &forms);

    // The about screen opened and left to animate for this long.
    Use about(double seconds);
    // The whole end-of-game display, from the exit of level 20 to the play
    // screen closing.
    Use endDisplay();

    // Why a measurement did not watch the animation it claims to; empty
    // when both ran as they should.
    QString problem() const { return m_problem; }

private:
    void closeAll();

    Forms &m_forms;
    QString m_problem;
};
