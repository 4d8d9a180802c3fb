// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Samples.h"

#include <QPointer>
#include <QString>

class Forms;
class Game_Screen;
class PaintCount;

// Times the play screen on the last level, a full map of two-character
// codes: building it together with the repaint the build causes, and one
// arrow-key step with the repaint of the cells it changed. The floor is the
// same picture painted by nothing but a loop of drawPixmap calls.
class ScreenBench
{
public:
    // Opens the play screen of these windows on the offscreen platform.
    explicit ScreenBench(Forms &forms);

    Samples loadscreen(int runs);
    Samples step(int runs);
    static Samples floor(int runs);

    // Why a timed run measured something other than it claims (no repaint,
    // no move); empty when every run was sound.
    QString problem() const { return m_problem; }

    // The slot of level 20, and the start cell's neighbours on its row are
    // floor, so left and right keys move the figure back and forth.
    static constexpr int LastSlot = 19;

private:
    void buildLastLevel();

    QPointer<Game_Screen> m_screen;
    PaintCount *m_playAreaPaints = nullptr;
    QString m_problem;
};
