#include "scriptedmodule.h"

void ScriptedModule::OPENCOM(const QByteArray &openText)
{
    calls << QStringLiteral("OPENCOM ") + QString::fromLatin1(openText);
}

void ScriptedModule::CLOSECOM()
{
    calls << QStringLiteral("CLOSECOM");
}

void ScriptedModule::SENDBYTE(int byte)
{
    m_lastCommand = byte;
    calls << QStringLiteral("SENDBYTE %1").arg(byte);
}

qint16 ScriptedModule::READBYTE()
{
    qint16 answer = -1;
    if (!answers.isEmpty())
        answer = answers.takeFirst();
    else if (answerFor.contains(m_lastCommand))
        answer = answerFor.value(m_lastCommand);
    else if (defaultAnswer)
        answer = *defaultAnswer;
    calls << QStringLiteral("READBYTE -> %1").arg(answer);
    return answer;
}

void ScriptedModule::RTS(int level)
{
    calls << QStringLiteral("RTS %1").arg(level);
}

void ScriptedModule::DTR(int level)
{
    calls << QStringLiteral("DTR %1").arg(level);
}

void ScriptedModule::DELAY(int milliseconds)
{
    calls << QStringLiteral("DELAY %1").arg(milliseconds);
}

QStringList ScriptedModule::callsStartingWith(const QString &prefix) const
{
    QStringList matching;
    for (const QString &call : calls) {
        if (call.startsWith(prefix))
            matching << call;
    }
    return matching;
}
