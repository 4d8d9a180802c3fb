// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form.h"

#include "Twips.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

Form::Form(const QString &caption, int clientWidthTwips, int clientHeightTwips, Frame frame)
    : QWidget(nullptr,
              (frame == Frame::Tool ? Qt::Tool : Qt::Window) | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                  | Qt::WindowCloseButtonHint)
{
    setWindowTitle(caption);
    setFixedSize(Twips::toPixels(clientWidthTwips), Twips::toPixels(clientHeightTwips));
    setAutoFillBackground(true);
}

void Form::discard()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    emit unloaded();
}

void Form::closeEvent(QCloseEvent *event)
{
    if (m_unloaded) {
        event->accept();
        return;
    }
    bool cancel = false;
    Form_Unload(cancel);
    if (cancel) {
        event->ignore();
        return;
    }
    event->accept();
    emit closed();
    discard();
}

void Form::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_placed)
        return;
    m_placed = true;
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}
