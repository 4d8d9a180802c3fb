// SPDX-License-Identifier: GPL-3.0-or-later
#include "About.h"

#include "Colors.h"
#include "Fonts.h"
#include "PictureBox.h"
#include "Pictures.h"
#include "StepTimer.h"
#include "Twips.h"

#include <QLabel>
#include <QTimer>

namespace {

QString underline(int length)
{
    return QString(length, QChar(0x00AF));
}

QLabel *textLabel(QWidget *parent, const QRect &twips)
{
    auto *label = new QLabel(About::credits(), parent);
    label->setGeometry(Twips::rect(twips.x(), twips.y(), twips.width(), twips.height()));
    label->setFont(Fonts::msSansSerif(9.75));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    Colors::setBackColor(label, Colors::PanelBack);
    Colors::setForeColor(label, Colors::Yellow);
    return label;
}

} // namespace

About::About()
    : Form(QStringLiteral("About"), 4335, 7935, Frame::Tool)
{
    // Created from the bottom of the stack up: each box covers the ones
    // made before it.
    Label1 = textLabel(this, QRect(0, 0, 4335, 7935));
    Label2 = textLabel(this, QRect(4440, -360, 3495, 7095));

    Picture2 = new PictureBox(this, 2040, 2160, 1455, 1575, Colors::PanelBack);
    Image1 = new QLabel(Picture2);
    Image1->setGeometry(Twips::rect(0, 0, 1440, 1440));
    // Enlarged here rather than stretched by the label, which would smooth
    // the pixel art into a blur.
    Image1->setPixmap(Pictures::enlarged(Pictures::lifeIcon(), Image1->size(), devicePixelRatio()));

    Picture1 = new PictureBox(this, 2040, 2040, 1455, 1575, Colors::PanelBack);
    Picture3 = new PictureBox(this, 4320, 0, 2415, 8055, Colors::PanelBack);
    Picture4 = new PictureBox(this, -2410, 0, 2415, 8055, Colors::PanelBack);

    Timer1 = new QTimer(this);
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &About::Timer1_Timer);
    // A window closed before its first tick must not start the credits, and
    // one closed while they run stops them at once.
    m_steps = new StepTimer(this);
    connect(this, &Form::unloaded, Timer1, &QTimer::stop);
    connect(this, &Form::unloaded, m_steps, &StepTimer::stop);
    Timer1->start();
    closeOnEscape();
}

QString About::credits()
{
    const QStringList lines{
        QStringLiteral("Hey All :"),
        underline(7),
        QStringLiteral("i just want to say thanks to everyone who helped me finish this amazing game and also to put "
                       "here the game tester's names and the main 20 levels builders names."),
        QStringLiteral("well, we got a list of names here, LOL, Enjoy the game !!!"),
        QString(),
        QStringLiteral("Programmer:"),
        underline(11),
        QStringLiteral("Ilan Dorvesh."),
        QString(),
        QStringLiteral("Graphic Designer:"),
        underline(15),
        QStringLiteral("Maya Kelbrun."),
        QString(),
        QStringLiteral("Game testers:"),
        underline(12),
        QStringLiteral("Yoav Ternik."),
        QStringLiteral("Shira Oldanov - www.oldanov.example"),
        QStringLiteral(u"\u00A4\u00B0\u00BA\u00D7Zephyr\u00D7\u00BA\u00B0\u00A4 - 40417729"),
        QStringLiteral("And some more that doesn't want they'r names here, *thanks*."),
        QString(),
        QStringLiteral("Levels builders:"),
        QStringLiteral("Eden Marko."),
        QStringLiteral("Gal Prennick - Special thanks !!"),
        QString(),
        QStringLiteral("And thank you for playing the game !!!!"),
        QString(),
        QStringLiteral(" ENJOY."),
        QStringLiteral("   Ilan Dorvesh."),
    };
    return lines.join(QStringLiteral("\r\n"));
}

void About::Timer1_Timer()
{
    // The credits start once per opening of the window and then run on
    // their own, each step after the pause the one before asked for.
    Timer1->stop();
    m_steps->start(nextStep(), [this] { return std::optional<double>(nextStep()); });
}

double About::nextStep()
{
    // Each phase runs while its box has not reached its end; all of them
    // start short of it, so the first step of a phase always moves.
    switch (m_phase) {
    case Phase::Uncover:
        // The cover slides right and the player figure comes into view.
        if (Picture1->Left() <= 3480) {
            Picture1->setLeft(Picture1->Left() + 30);
            return 0.1;
        }
        Picture1->setTop(2040);
        Picture1->setLeft(2040);
        Picture1->setHeight(15);
        m_phase = Phase::Blind;
        [[fallthrough]];
    case Phase::Blind:
        // The cover drops over the figure like a blind.
        if (Picture1->Height() <= 1575) {
            Picture1->setHeight(Picture1->Height() + 90);
            return 0.1;
        }
        m_phase = Phase::Curtains;
        [[fallthrough]];
    case Phase::Curtains:
        if (Picture3->Left() > 2040 || Picture4->Left() < -100) {
            if (Picture3->Left() > 2040)
                Picture3->setLeft(Picture3->Left() - 20);
            if (Picture4->Left() < -100)
                Picture4->setLeft(Picture4->Left() + 20);
            return 0.1;
        }
        // The curtains open at once and the typing starts over from the
        // first character; the cover stays where the blind left it.
        Picture3->setLeft(4320);
        Picture4->setLeft(-2410);
        m_i = 1;
        m_phase = Phase::Typing;
        [[fallthrough]];
    case Phase::Typing:
        Label1->setText(Label2->text().left(m_i));
        if (m_i < TypingSteps) {
            ++m_i;
            return 0.09;
        }
        m_phase = Phase::Uncover;
        return 0.5;
    }
    Q_UNREACHABLE();
}
