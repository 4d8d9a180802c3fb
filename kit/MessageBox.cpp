#include "MessageBox.h"

#include "Pause.h"

#include <QMessageBox>

namespace {

MessageBox::Responder &responder()
{
    static MessageBox::Responder answer;
    return answer;
}

} // namespace

MessageBox::Answer MessageBox::show(QWidget *parent, const QString &text, const QString &title, Buttons buttons)
{
    const Pause::Scope scope;
    if (responder())
        return responder()(Request{text, title, buttons});

    if (buttons == Buttons::Ok) {
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
        box.exec();
        return Answer::Ok;
    }
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void MessageBox::setResponder(Responder answer)
{
    responder() = std::move(answer);
}
