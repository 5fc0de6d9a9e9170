#pragma once

#include "device/seriallink.h"

#include <QList>
#include <QStringList>

// A serial library that answers from a script and records every call, as "open COM1:...",
// "sendByte 22", "readByte -> 128", "setRts 1", "setDtr 0", "delay 50", "close".
struct ScriptedLink final : SerialLink
{
    QList<qint16> answers; // for readByte, oldest first; then defaultAnswer
    qint16 defaultAnswer = -1;
    QStringList calls;

    void open(const QByteArray &openText) override
    {
        calls << QStringLiteral("open ") + QString::fromLatin1(openText);
    }
    void close() override { calls << QStringLiteral("close"); }
    void sendByte(int byte) override { calls << QStringLiteral("sendByte %1").arg(byte); }
    qint16 readByte() override
    {
        const qint16 answer = answers.isEmpty() ? defaultAnswer : answers.takeFirst();
        calls << QStringLiteral("readByte -> %1").arg(answer);
        return answer;
    }
    void setRts(int level) override { calls << QStringLiteral("setRts %1").arg(level); }
    void setDtr(int level) override { calls << QStringLiteral("setDtr %1").arg(level); }
    void delay(int milliseconds) override { calls << QStringLiteral("delay %1").arg(milliseconds); }
    bool quiet = true; // what confirmAnswers() says
    bool confirmAnswers() override { return quiet; }
};
