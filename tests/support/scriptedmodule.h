#pragma once

#include "device/module1.h"

#include <QList>
#include <QStringList>

// A serial library that answers from a script and records every call, as "OPENCOM COM1:...",
// "SENDBYTE 22", "READBYTE -> 128", "RTS 1", "DTR 0", "DELAY 50", "CLOSECOM".
struct ScriptedModule final : Module1
{
    QList<qint16> answers; // for READBYTE, oldest first; then defaultAnswer
    qint16 defaultAnswer = -1;
    QStringList calls;

    void OPENCOM(const QByteArray &openText) override
    {
        calls << QStringLiteral("OPENCOM ") + QString::fromLatin1(openText);
    }
    void CLOSECOM() override { calls << QStringLiteral("CLOSECOM"); }
    void SENDBYTE(int byte) override { calls << QStringLiteral("SENDBYTE %1").arg(byte); }
    qint16 READBYTE() override
    {
        const qint16 answer = answers.isEmpty() ? defaultAnswer : answers.takeFirst();
        calls << QStringLiteral("READBYTE -> %1").arg(answer);
        return answer;
    }
    void RTS(int level) override { calls << QStringLiteral("RTS %1").arg(level); }
    void DTR(int level) override { calls << QStringLiteral("DTR %1").arg(level); }
    void DELAY(int milliseconds) override { calls << QStringLiteral("DELAY %1").arg(milliseconds); }
    bool quiet = true; // what confirmAnswers() says
    bool confirmAnswers() override { return quiet; }
};
