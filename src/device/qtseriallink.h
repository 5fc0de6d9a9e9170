#pragma once

#include "seriallink.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include <memory>

class QSerialPort;

// The serial library over QSerialPort. readByte waits at most ReadWaitMilliseconds for a byte;
// a port that went away (a USB adapter pulled out) is reopened by itself when it comes back.
class QtSerialLink final : public SerialLink
{
public:
    static constexpr int ReadWaitMilliseconds = 50;
    // Below the one-second measurement tick, so that every tick tries once while the device is
    // away; at a whole second, a tick that came a few milliseconds early would skip its try.
    static constexpr int ReopenIntervalMilliseconds = 500;
    // One byte at 9600 baud takes about a millisecond; this only bounds a stalled write.
    static constexpr int WriteWaitMilliseconds = 50;
    static constexpr int BaudRate = 9600;
    // Longer than any answer is late in practice, shorter than the measurement tick.
    static constexpr int QuietMilliseconds = 300;
    // What confirmAnswers() waits after the last answer: ten characters' time at 9600 baud, so
    // that a byte the device or an adapter sends twice arrives within it.
    static constexpr int GuardMilliseconds = 10;
    // What QSerialPort may hold; the rest waits in the system's buffer, which is bounded too.
    static constexpr qint64 ReadBufferBytes = 16;

    QtSerialLink();
    ~QtSerialLink() override;

    void open(const QByteArray &openText) override;
    QString openFailure() const override;
    void close() override;
    void sendByte(int byte) override;
    qint16 readByte() override;
    void setRts(int level) override;
    void setDtr(int level) override;
    void delay(int milliseconds) override;
    bool confirmAnswers() override;

private:
    enum class State { Closed, Open, Lost };

    void closePort();
    bool openPort();
    void onError(int error);
    void dropLostPort();
    bool portUsable();
    void applyModemLines();
    void dropUnasked();
    void takeInNoise();
    void noteNoise();
    bool lineNoisy() const;
    void resetExchange();

    std::unique_ptr<QSerialPort> m_port;
    State m_state = State::Closed;
    QString m_devicePath;
    QString m_openFailure;
    // Set by the port's error signal, which may come from inside a QSerialPort call; the port
    // is closed afterwards, never from within that call.
    bool m_lossPending = false;
    QString m_lossReason;
    QElapsedTimer m_sinceReopenAttempt;
    // The modem line levels last asked for (-1: never), restored after a reopen.
    int m_rtsLevel = -1;
    int m_dtrLevel = -1;

    // See sendByte for the rule these serve.
    int m_lastCommand = -1;
    int m_unsettledCommand = -1; // -1: nothing late can be on its way
    bool m_awaitingAnswer = false;
    bool m_withheld = false;
    QElapsedTimer m_sinceLineStirred;
    // Noise: bytes that answered no command. Invalid timers: never.
    QElapsedTimer m_sinceNoise;
    QElapsedTimer m_sinceAnswer;
    bool m_noiseInRun = false;
    bool m_runOpen = false;
};
