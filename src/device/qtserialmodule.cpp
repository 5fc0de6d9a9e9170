#include "qtserialmodule.h"

#include "portmap.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QSerialPort>
#include <QThread>
#include <QTimer>

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
    QObject::connect(m_port.get(), &QSerialPort::errorOccurred, m_port.get(),
                     [this](QSerialPort::SerialPortError error) { onError(error); });
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
    if (!portUsable())
        return;
    // Whatever arrived unasked, such as an answer too late for an earlier command, must not pass
    // for the answer to this one: drop it from QSerialPort's buffer and the system's.
    m_port->clear(QSerialPort::Input);
    const char data = char(byte);
    if (m_port->write(&data, 1) == 1)
        m_port->waitForBytesWritten(WriteWaitMilliseconds);
    m_port->clearError();
    dropLostPort();
}

qint16 QtSerialModule::READBYTE()
{
    if (!portUsable())
        return -1;
    const QDeadlineTimer deadline(ReadWaitMilliseconds);
    while (m_port->bytesAvailable() == 0 && !m_lossPending) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0 || !m_port->waitForReadyRead(int(left)))
            break;
    }
    char byte = 0;
    const bool received = m_port->getChar(&byte);
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

void QtSerialModule::closePort()
{
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
