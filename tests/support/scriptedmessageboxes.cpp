#include "scriptedmessageboxes.h"

int ScriptedMessageBoxes::show(const QString &prompt, int style, const QString &title)
{
    calls.append({prompt, style, title});
    if (!answers.isEmpty())
        return answers.takeFirst();
    return (style & 0x0F) == msgbox::StyleYesNo ? msgbox::AnswerNo : msgbox::AnswerOk;
}
