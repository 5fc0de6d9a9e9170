#pragma once

#include "module1.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include <memory>

class QSerialPort;

// The serial library over QSerialPort. READBYTE waits at most ReadWaitMilliseconds for a byte;
// a port that went away (a USB adapter pulled out) is reopened by itself when it comes back.
class QtSerialModule final : public Module1
{
public:
    static constexpr int ReadWaitMilliseconds = 50;
    static constexpr int ReopenIntervalMilliseconds = 1000;

    QtSerialModule();
    ~QtSerialModule() override;

    void OPENCOM(const QByteArray &openText) override;
    void CLOSECOM() override;
    void SENDBYTE(int byte) override;
    qint16 READBYTE() override;
    void RTS(int level) override;
    void DTR(int level) override;
    void DELAY(int milliseconds) override;

private:
    std::unique_ptr<QSerialPort> m_port;
};
