// SPDX-License-Identifier: GPL-3.0-or-later
#include "Start_Level.h"

#include "BestTable.h"
#include "Colors.h"
#include "Fonts.h"
#include "ProgressFile.h"
#include "Twips.h"

#include <QLabel>
#include <QPushButton>
#include <QShortcut>

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

    // Above the first level, where the window has room to spare.
    BestLine = new QLabel(this);
    BestLine->setGeometry(Twips::rect(480, 90, 3735, 330));
    BestLine->setFont(Fonts::msSansSerif(9.75));
    BestLine->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    BestLine->setTextFormat(Qt::PlainText);
    Colors::setForeColor(BestLine, NormalText);

    // Under "Go Back", across the window. The menu keeps the keyboard: the
    // buttons answer their letters and the pointer, and take no focus.
    const auto button = [this](const QString &caption, int index, Qt::Key key, void (Start_Level::*action)()) {
        auto *pushed = new QPushButton(caption, this);
        pushed->setFont(Fonts::msSansSerif(8));
        pushed->setFocusPolicy(Qt::NoFocus);
        pushed->setGeometry(Twips::rect(75 + 1530 * index, 5685, 1485, 330));
        connect(pushed, &QPushButton::clicked, this, action);
        auto *shortcut = new QShortcut(QKeySequence(key), this);
        // A held key asks once.
        shortcut->setAutoRepeat(false);
        connect(shortcut, &QShortcut::activated, this, [pushed] {
            if (pushed->isEnabled())
                pushed->click();
        });
        return pushed;
    };
    BestButton = button(QStringLiteral("Best results (B)"), 0, Qt::Key_B, &Start_Level::showBestResults);
    WatchButton = button(QStringLiteral("Watch best run (W)"), 1, Qt::Key_W, &Start_Level::watch);
    WayButton = button(QStringLiteral("Show me a way (S)"), 2, Qt::Key_S, &Start_Level::showWay);
}

void Start_Level::Form_Load()
{
    // The progress file's reading of the furthest level started comes back
    // already limited to the slots that exist, so every item unlocked and
    // MaxLevel name real items whatever the file holds.
    const double v = ProgressFile::readSlot();
    m_best = BestResults::read();
    for (int i = 0; i <= v; ++i) {
        MenuItem *item = Label1.at(std::size_t(i));
        item->setEnabled(true);
        // "Go Back" is reached with the last level and has no best.
        if (i < GoBack) {
            item->setToolTip(bestTip(m_best, i + 1));
            // Heard with the item's name as the highlight comes to it.
            item->setAccessibleDescription(item->toolTip());
        }
    }
    // Nearest whole item, a half going to the even one.
    m_maxLevel = int(std::nearbyint(v));
    highlightMoved(current());
}

void Start_Level::setBestRunCheck(BestRunCheck check)
{
    m_hasBestRun = std::move(check);
    highlightMoved(current());
}

int Start_Level::playableLevel() const
{
    const int c = current();
    if (c < 0 || c >= GoBack || !Label1.at(std::size_t(c))->isEnabled())
        return 0;
    return c + 1;
}

void Start_Level::highlightMoved(int index)
{
    Q_UNUSED(index);
    const int level = playableLevel();
    BestLine->setText(level ? bestTip(m_best, level) : QString());
    const bool hasRun = level && (m_hasBestRun ? m_hasBestRun(level) : m_best.count(level) > 0);
    WatchButton->setEnabled(hasRun);
    WayButton->setEnabled(level != 0);
}

BestTable *Start_Level::bestTable() const
{
    return m_bestTable;
}

void Start_Level::showBestResults()
{
    if (!m_bestTable) {
        m_bestTable = new BestTable(this);
        m_bestTable->fill(m_best);
    }
    m_bestTable->show();
    m_bestTable->raise();
    m_bestTable->activateWindow();
}

void Start_Level::watch()
{
    if (const int level = playableLevel(); level && WatchButton->isEnabled())
        emit watchRequested(level);
}

void Start_Level::showWay()
{
    if (const int level = playableLevel())
        emit wayRequested(level);
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
