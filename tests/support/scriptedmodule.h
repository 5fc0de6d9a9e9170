#pragma once

#include "device/module1.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// A serial library that answers from a script and records every call, as "OPENCOM COM1:...",
// "SENDBYTE 22", "READBYTE -> 128", "RTS 1", "DTR 0", "DELAY 50", "CLOSECOM".
class ScriptedModule final : public Module1
{
public:
    // Answers for READBYTE, oldest first; an empty queue answers -1.
    QList<qint16> answers;
    // When set, every READBYTE that finds the queue empty answers this instead of -1.
    std::optional<qint16> defaultAnswer;
    // Answers by the command sent last, used before defaultAnswer when the queue is empty.
    QHash<int, qint16> answerFor;
    QStringList calls;

    void OPENCOM(const QByteArray &openText) override;
    void CLOSECOM() override;
    void SENDBYTE(int byte) override;
    qint16 READBYTE() override;
    void RTS(int level) override;
    void DTR(int level) override;
    void DELAY(int milliseconds) override;

    // The calls whose text starts with prefix.
    QStringList callsStartingWith(const QString &prefix) const;

private:
    int m_lastCommand = -1;
};
