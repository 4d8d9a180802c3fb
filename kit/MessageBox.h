// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QWidget;

// Every message the game shows goes through here, so that tests can read and
// answer them without a person at the keyboard.
class MessageBox
{
public:
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    struct Request
    {
        QString text;
        QString title;
        Buttons buttons;
    };

    // A modal box: OK without icon, or Yes and No with a question icon.
    static Answer show(QWidget *parent, const QString &text, const QString &title = QStringLiteral("Veltrano"),
                       Buttons buttons = Buttons::Ok);

    // Replaces the real boxes; the responder answers each request. An empty
    // function restores the real boxes.
    using Responder = std::function<Answer(const Request &)>;
    static void setResponder(Responder responder);
};
