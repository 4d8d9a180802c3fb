// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MessageBox.h"

#include <QStringList>

// Stands in for the player at the message boxes: records each one as
// "title: text" (questions end in " [Yes/No]") and answers questions from a
// queue, Yes once it is empty.
class MessageLog
{
public:
    MessageLog()
    {
        MessageBox::setResponder([this](const MessageBox::Request &request) {
            const bool question = request.buttons == MessageBox::Buttons::YesNo;
            shown.append(request.title + ": " + request.text + (question ? " [Yes/No]" : ""));
            if (!question)
                return MessageBox::Answer::Ok;
            return answers.isEmpty() ? MessageBox::Answer::Yes : answers.takeFirst();
        });
    }
    ~MessageLog() { MessageBox::setResponder({}); }
    MessageLog(const MessageLog &) = delete;
    MessageLog &operator=(const MessageLog &) = delete;

    QStringList shown;
    QList<MessageBox::Answer> answers;
};
