#include "qtserialmodule.h"

#include "portmap.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QSerialPort>
#include <QThread>
#include <QTimer>

#include <utility>

namespace {

constexpr char DialoutHint[] =
    " (add yourself to the dialout group: sudo adduser $USER dialout, then log in again)";
constexpr char BusyHint[] = " (is another program using it?)";
constexpr char DialoutAdvice[] = "Abhilfe: im Terminal \"sudo adduser $USER dialout\" eingeben, "
                                 "dann ab- und wieder anmelden.";
constexpr char BusyAdvice[] = "Vielleicht benutzt ein anderes Programm den Anschluss.";

// A terminal that hung up reads as end of file and fails writes and ioctls with EIO; QSerialPort
// reports that as one of these, depending on the system and the call.
bool meansDeviceGone(QSerialPort::SerialPortError error)
{
    return error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
           error == QSerialPort::WriteError;
}

} // namespace

QtSerialModule::QtSerialModule() : m_port(std::make_unique<QSerialPort>())
{
    m_port->setBaudRate(BaudRate);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    m_port->setReadBufferSize(ReadBufferBytes);
    QObject::connect(m_port.get(), &QSerialPort::errorOccurred, m_port.get(),
                     [this](QSerialPort::SerialPortError error) { onError(error); });
    // Nothing else reads a port between commands, so whatever a device sends unasked is dropped
    // as it comes: it could only pass for a later answer, or grow without end.
    QObject::connect(m_port.get(), &QSerialPort::readyRead, m_port.get(), [this] {
        if (!m_awaitingAnswer)
            dropUnasked();
    });
    m_sinceLineStirred.start();
}

QtSerialModule::~QtSerialModule()
{
    closePort();
}

void QtSerialModule::OPENCOM(const QByteArray &openText)
{
    closePort();
    m_devicePath.clear();
    m_openFailure.clear();

    const QString path = portmap::deviceFor(openText);
    if (path.isEmpty()) {
        qWarning().noquote() << QStringLiteral("warmlog: cannot open \"%1\": it names no port")
                                    .arg(QString::fromLatin1(openText));
        m_openFailure =
            QStringLiteral("\"%1\" nennt keinen Anschluss.").arg(QString::fromLatin1(openText));
        return;
    }

    m_port->setPortName(path);
    if (!openPort()) {
        QString line =
            QStringLiteral("warmlog: cannot open %1: %2").arg(path, m_port->errorString());
        m_openFailure = QStringLiteral("%1 lässt sich nicht öffnen: %2.")
                            .arg(QDir::toNativeSeparators(path), m_port->errorString());
        if (m_port->error() == QSerialPort::PermissionError) {
            // A device we may use that still refuses us is locked, not forbidden.
            const QFileInfo device(path);
            const bool locked = device.isReadable() && device.isWritable();
            line += QLatin1String(locked ? BusyHint : DialoutHint);
            m_openFailure +=
                QLatin1Char('\n') + QString::fromUtf8(locked ? BusyAdvice : DialoutAdvice);
        }
        m_port->clearError();
        qWarning().noquote() << line;
        return;
    }
    m_devicePath = path;
}

QString QtSerialModule::openFailure() const
{
    return m_openFailure;
}

void QtSerialModule::CLOSECOM()
{
    closePort();
    m_devicePath.clear();
}

void QtSerialModule::SENDBYTE(int byte)
{
    m_withheld = false;
    m_awaitingAnswer = false;
    if (!portUsable())
        return;
    // A byte passes for an answer only when it cannot be another command's late answer. After a
    // READBYTE that timed out, only that same command is sent again (a late answer to it is
    // still its own); any other is not sent, and its READBYTE answers -1 at once, until the line
    // has been quiet for QuietMilliseconds: no byte came, nothing was sent and no read timed out.
    // Then what arrived is dropped and the command sent as usual. A device answering in time
    // never meets this; a silent one costs a tick one or two read waits instead of five.
    if (m_unsettledCommand != -1) {
        m_port->waitForReadyRead(0); // takes in, and so drops, what the system holds
        if (!m_sinceLineStirred.hasExpired(QuietMilliseconds) && byte != m_unsettledCommand) {
            m_withheld = true;
            return;
        }
        if (m_sinceLineStirred.hasExpired(QuietMilliseconds))
            m_unsettledCommand = -1;
        m_sinceLineStirred.start();
    }
    // Whatever arrived unasked must not pass for the answer to this command: drop it from
    // QSerialPort's buffer and the system's.
    m_port->clear(QSerialPort::Input);
    m_lastCommand = byte;
    m_awaitingAnswer = true;
    const char data = char(byte);
    if (m_port->write(&data, 1) == 1)
        m_port->waitForBytesWritten(WriteWaitMilliseconds);
    m_port->clearError();
    dropLostPort();
}

qint16 QtSerialModule::READBYTE()
{
    if (std::exchange(m_withheld, false) || !portUsable())
        return -1;
    m_awaitingAnswer = true;
    const QDeadlineTimer deadline(ReadWaitMilliseconds);
    while (m_port->bytesAvailable() == 0 && !m_lossPending) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0 || !m_port->waitForReadyRead(int(left)))
            break;
    }
    char byte = 0;
    const bool received = m_port->getChar(&byte);
    m_awaitingAnswer = false;
    if (!received) {
        m_unsettledCommand = m_lastCommand;
        m_sinceLineStirred.start();
    }
    m_port->clearError();
    dropLostPort();
    return received ? qint16(quint8(byte)) : qint16(-1);
}

void QtSerialModule::RTS(int level)
{
    m_rtsLevel = level != 0 ? 1 : 0;
    if (m_state != State::Open)
        return;
    m_port->setRequestToSend(m_rtsLevel == 1);
    m_port->clearError();
    dropLostPort();
}

void QtSerialModule::DTR(int level)
{
    m_dtrLevel = level != 0 ? 1 : 0;
    if (m_state != State::Open)
        return;
    m_port->setDataTerminalReady(m_dtrLevel == 1);
    m_port->clearError();
    dropLostPort();
}

void QtSerialModule::DELAY(int milliseconds)
{
    // Sleeps rather than waits in an event loop, so no timer tick can run inside the caller's.
    if (milliseconds > 0)
        QThread::msleep(ulong(milliseconds));
}

qint64 QtSerialModule::bufferedBytes() const
{
    return m_port->bytesAvailable();
}

void QtSerialModule::dropUnasked()
{
    if (m_port->bytesAvailable() > 0) {
        m_port->skip(m_port->bytesAvailable());
        m_sinceLineStirred.start();
    }
}

void QtSerialModule::resetExchange()
{
    m_lastCommand = -1;
    m_unsettledCommand = -1;
    m_awaitingAnswer = false;
    m_withheld = false;
}

void QtSerialModule::closePort()
{
    resetExchange();
    m_state = State::Closed;
    m_lossPending = false;
    if (m_port->isOpen())
        m_port->close();
    m_port->clearError();
}

bool QtSerialModule::openPort()
{
    if (!m_port->open(QIODevice::ReadWrite))
        return false;
    m_state = State::Open;
    m_lossPending = false;
    resetExchange();
    applyModemLines();
    return true;
}

void QtSerialModule::applyModemLines()
{
    // A pseudo-terminal has no modem lines; a refusal leaves the port as usable as before.
    if (m_rtsLevel >= 0)
        m_port->setRequestToSend(m_rtsLevel == 1);
    if (m_dtrLevel >= 0)
        m_port->setDataTerminalReady(m_dtrLevel == 1);
    m_port->clearError();
}

void QtSerialModule::onError(int error)
{
    if (m_state != State::Open || m_lossPending ||
        !meansDeviceGone(QSerialPort::SerialPortError(error)))
        return;
    m_lossPending = true;
    m_lossReason = m_port->errorString();
#ifdef Q_OS_UNIX
    // A hung-up terminal reads as end of file, which QSerialPort reports with a stale errno text.
    if (error == QSerialPort::ReadError)
        m_lossReason = QStringLiteral("hung up");
#endif
    // The error may come from inside a QSerialPort call or from the event loop between ours; the
    // port is closed once that call has returned, so a hung-up terminal cannot keep waking it.
    QTimer::singleShot(0, m_port.get(), [this] { dropLostPort(); });
}

void QtSerialModule::dropLostPort()
{
    if (!m_lossPending)
        return;
    m_state = State::Lost;
    m_lossPending = false;
    m_port->close();
    m_port->clearError();
    m_sinceReopenAttempt.start();
    qWarning().noquote() << QStringLiteral("warmlog: lost %1 (%2); reopening it when it returns")
                                .arg(m_devicePath, m_lossReason);
}

bool QtSerialModule::portUsable()
{
    dropLostPort();
    if (m_state == State::Lost && m_sinceReopenAttempt.hasExpired(ReopenIntervalMilliseconds)) {
        m_sinceReopenAttempt.start();
        if (openPort())
            qWarning().noquote() << QStringLiteral("warmlog: %1 is back").arg(m_devicePath);
        else
            m_port->clearError();
    }
    return m_state == State::Open;
}
