#pragma once

#include "platform/messagebox.h"

#include <QList>
#include <QString>

// Message boxes that answer from a script and record what they were asked.
class ScriptedMessageBoxes final : public MessageBoxes
{
public:
    struct Call
    {
        QString prompt;
        int style = 0;
        QString title;
    };

    // Answers (msgbox::Answer...), oldest first. An empty queue gives the harmless answer: OK, or
    // No for a box that asks.
    QList<int> answers;
    QList<Call> calls;

    int show(const QString &prompt, int style, const QString &title) override
    {
        calls.append({prompt, style, title});
        if (!answers.isEmpty())
            return answers.takeFirst();
        return (style & 0x0F) == msgbox::StyleYesNo ? msgbox::AnswerNo : msgbox::AnswerOk;
    }
};
