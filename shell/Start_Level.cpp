// SPDX-License-Identifier: GPL-3.0-or-later
#include "Start_Level.h"

#include "BestResults.h"
#include "ProgressFile.h"

#include <QLabel>

#include <cmath>

namespace {

QString bestTip(const BestResults::Table &best, int level)
{
    const auto found = best.find(level);
    if (found == best.end())
        return QStringLiteral("No best yet");
    const BestResults::Result &result = found->second;
    return QStringLiteral("Best: %1 %2 left, %3 points")
        .arg(result.secondsLeft)
        .arg(result.secondsLeft == 1 ? QStringLiteral("second") : QStringLiteral("seconds"))
        .arg(result.points);
}

} // namespace

Start_Level::Start_Level()
    : Menu(QStringLiteral("Start From Level:"), 4695, 6030)
{
    for (int k = 0; k < GoBack; ++k) {
        QLabel *item = addItem(QStringLiteral("Start Level %1").arg(k + 1), QRect(480, 480 + 240 * k, 3735, 255),
                               9.75, Qt::AlignLeft);
        item->setEnabled(k == 0);
    }
    addItem(QStringLiteral("Go Back"), QRect(480, 5280, 3735, 375), 12, Qt::AlignHCenter);
    closeOnEscape();
}

void Start_Level::Form_Load()
{
    // The progress file's reading of the furthest level started comes back
    // already limited to the slots that exist, so every item unlocked and
    // MaxLevel name real items whatever the file holds.
    const double v = ProgressFile::readSlot();
    const BestResults::Table best = BestResults::read();
    for (int i = 0; i <= v; ++i) {
        Label1.at(std::size_t(i))->setEnabled(true);
        // "Go Back" is reached with the last level and has no best.
        if (i < GoBack)
            Label1.at(std::size_t(i))->setToolTip(bestTip(best, i + 1));
    }
    // Nearest whole item, a half going to the even one.
    m_maxLevel = int(std::nearbyint(v));
}

int Start_Level::above(int c) const
{
    if (c == 0)
        return GoBack;
    return Label1.at(std::size_t(c - 1))->isEnabled() ? c - 1 : m_maxLevel;
}

int Start_Level::below(int c) const
{
    if (c == GoBack)
        return 0;
    return Label1.at(std::size_t(c + 1))->isEnabled() ? c + 1 : GoBack;
}

void Start_Level::activate()
{
    const int c = current();
    if (c == GoBack) {
        emit goBackChosen();
        return;
    }
    // Only a hand-edited progress file can leave the highlight on a locked
    // level, and a locked level is not to be played.
    if (!Label1.at(std::size_t(c))->isEnabled())
        return;
    m_backToMenu = false;
    emit levelChosen(c + 1);
}
