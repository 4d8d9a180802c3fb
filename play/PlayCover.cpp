// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlayCover.h"

#include "Colors.h"
#include "Fonts.h"

#include <QPainter>
#include <QTimer>

namespace {

const QColor CoverText(224, 224, 224);
// The status panel's grey, a little see-through so the banner sits over
// the board rather than cutting it in two.
const QColor BannerBack(64, 64, 64, 224);

const QString WayOn = QStringLiteral("Press a key to play on, or Q to leave the game");

} // namespace

PlayCover::PlayCover(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    m_bannerTime = new QTimer(this);
    m_bannerTime->setSingleShot(true);
    m_bannerTime->setInterval(BannerMilliseconds);
    connect(m_bannerTime, &QTimer::timeout, this, [this] {
        m_banner.clear();
        refresh();
    });
    hide();
}

void PlayCover::setPaused(bool paused)
{
    m_paused = paused;
    refresh();
}

void PlayCover::showBanner(const QString &text)
{
    m_banner = text;
    m_bannerTime->start();
    refresh();
}

QString PlayCover::bannerText(int level, int points, int secondsLeft, BestResults::Outcome best)
{
    QString text = QStringLiteral("Level %1 done\n").arg(level) + finishText({secondsLeft, points});
    switch (best) {
    case BestResults::Outcome::NoBest:
        break;
    case BestResults::Outcome::Kept:
        text += QStringLiteral("\nYour best on this level!");
        break;
    case BestResults::Outcome::NotKept:
        text += QStringLiteral("\nYour best, but it could not be saved");
        break;
    }
    return text;
}

QString PlayCover::finishText(const BestResults::Result &result)
{
    return QStringLiteral("%1 points, %2 %3 left")
        .arg(result.points)
        .arg(result.secondsLeft)
        .arg(result.secondsLeft == 1 ? QStringLiteral("second") : QStringLiteral("seconds"));
}

void PlayCover::setStrip(const QString &text)
{
    m_strip = text;
    refresh();
}

void PlayCover::refresh()
{
    // A screen reader hears what the cover says, as a player sees it.
    setAccessibleName(m_paused ? QStringLiteral("Paused") : m_banner.isEmpty() ? m_strip : m_banner);
    setAccessibleDescription(m_paused ? WayOn : QString());
    setVisible(m_paused || !m_banner.isEmpty() || !m_strip.isEmpty());
    if (isVisible())
        raise();
    update();
}

void PlayCover::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(CoverText);
    if (m_paused) {
        painter.fillRect(rect(), Colors::PanelBack);
        painter.setFont(Fonts::narkisim(28));
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("Paused"));
        painter.setFont(Fonts::arial(9.75));
        painter.drawText(rect().adjusted(0, height() / 2 + 40, 0, 0), Qt::AlignHCenter | Qt::AlignTop,
                         WayOn);
        return;
    }
    if (!m_strip.isEmpty()) {
        painter.setFont(Fonts::arial(9.75, true));
        const QRect strip(0, 0, width(), painter.fontMetrics().height() * 2);
        painter.fillRect(strip, BannerBack);
        painter.drawText(strip.adjusted(6, 0, -6, 0), Qt::AlignCenter | Qt::TextWordWrap, m_strip);
    }
    if (m_banner.isEmpty())
        return;
    painter.setFont(Fonts::arial(12, true));
    const QRect text = painter.boundingRect(rect(), Qt::AlignCenter, m_banner);
    const QRect band(0, text.top() - text.height() / 3, width(), text.height() * 5 / 3);
    painter.fillRect(band, BannerBack);
    painter.drawText(band, Qt::AlignCenter, m_banner);
}
