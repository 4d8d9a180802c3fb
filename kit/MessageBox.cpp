// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageBox.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>
#include <QSpacerItem>

namespace {

MessageBox::Responder &responder()
{
    static MessageBox::Responder answer;
    return answer;
}

// The width a box needs for a window manager to show its whole title: the
// title in a bold face, as title bars set it, plus room for the window's
// icon and its buttons beside it. Qt sizes a box by its text alone, and the
// short texts would leave "Veltrano" cut down to a few letters.
int titleBarWidth(const QString &title)
{
    QFont font = QApplication::font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    // An icon and three buttons, each about as wide as the bar is high.
    const int decorations = 4 * 2 * metrics.height();
    return metrics.horizontalAdvance(title) + decorations;
}

} // namespace

MessageBox::Answer MessageBox::show(QWidget *parent, const QString &text, const QString &title, Buttons buttons)
{
    if (responder())
        return responder()(Request{text, title, buttons});

    const bool question = buttons == Buttons::YesNo;
    // The box belongs to its window and deletes itself once answered; should
    // the window go while the box is up, the box simply goes with it.
    auto *box = new QMessageBox(question ? QMessageBox::Question : QMessageBox::NoIcon, title, text,
                                question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // The box takes the width of its widest row, so a row of nothing but
    // width keeps it wide enough for its title.
    if (auto *grid = qobject_cast<QGridLayout *>(box->layout()))
        grid->addItem(new QSpacerItem(titleBarWidth(title), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());

    const QPointer<QWidget> owner = parent ? parent->window() : nullptr;
    const int pressed = box->exec();
    // Without a window manager nobody hands the keyboard back when the box
    // goes, and the arrow keys would reach the game only while the pointer
    // happened to rest on it.
    if (owner && owner->isVisible())
        owner->activateWindow();

    if (!question)
        return Answer::Ok;
    return pressed == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void MessageBox::setResponder(Responder answer)
{
    responder() = std::move(answer);
}
