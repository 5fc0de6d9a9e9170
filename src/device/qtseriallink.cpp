#include "qtseriallink.h"

#include "openfailure.h"
#include "portmap.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QDir>
#include <QSerialPort>
#include <QThread>
#include <QTimer>

#include <utility>

namespace {

// A terminal that hung up reads as end of file and fails writes and ioctls with EIO; QSerialPort
// reports that as one of these, depending on the system and the call.
bool meansDeviceGone(QSerialPort::SerialPortError error)
{
    return error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
           error == QSerialPort::WriteError;
}

} // namespace

QtSerialLink::QtSerialLink() : m_port(std::make_unique<QSerialPort>())
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

QtSerialLink::~QtSerialLink()
{
    closePort();
}

void QtSerialLink::open(const QByteArray &openText)
{
    closePort();
    m_devicePath.clear();
    m_openFailure.clear();

    const QString path = portmap::deviceFor(openText);
    if (path.isEmpty()) {
        qWarning().noquote() << QStringLiteral("warmlog: cannot open \"%1\": it names no port")
                                    .arg(QString::fromLocal8Bit(openText));
        m_openFailure =
            QStringLiteral("\"%1\" nennt keinen Anschluss.").arg(QString::fromLocal8Bit(openText));
        return;
    }

    m_port->setPortName(path);
    if (!openPort()) {
        const openfailure::Explanation why = openfailure::explain(m_port->error(), path);
        m_openFailure = openfailure::toolTip(QDir::toNativeSeparators(path), why);
        qWarning().noquote() << QStringLiteral("warmlog: cannot open %1: %2%3")
                                    .arg(path, m_port->errorString(), why.logHint);
        m_port->clearError();
        return;
    }
    m_devicePath = path;
}

QString QtSerialLink::openFailure() const
{
    return m_openFailure;
}

void QtSerialLink::close()
{
    closePort();
    m_devicePath.clear();
}

// How an answer is told from noise. The device answers each command with one byte, unframed, so
// a byte is judged by when it comes:
// - the answer is the first byte after its command; any other byte is noise: one that comes while
//   no command waits, one that comes with the answer or after it (a doubled answer, an echo beside
//   the device), one found in the gap before the next command;
// - after noise nothing is sent, and every read gives -1 at once, until the line has been quiet
//   for QuietMilliseconds; sending into noise would only turn the answers into more of it;
// - confirmAnswers() ends a run of exchanges: it waits GuardMilliseconds after the last answer
//   and says whether the run met noise. A byte sent twice shifts the later answers onto the
//   wrong commands, and its surplus shows at the latest there, so the caller drops the run.
// The caller adds what only the values tell: readings of one tick that disagree, and a line
// that returns every command as it was sent. A device that answers in time meets none of this;
// its bytes on the wire are the same, and a run costs GuardMilliseconds more.
void QtSerialLink::sendByte(int byte)
{
    m_withheld = false;
    m_awaitingAnswer = false;
    if (!std::exchange(m_runOpen, true))
        m_noiseInRun = false;
    if (!portUsable())
        return;
    takeInNoise();
    if (lineNoisy()) {
        m_withheld = true;
        return;
    }
    // A byte passes for an answer only when it cannot be another command's late answer. After a
    // readByte that timed out, only that same command is sent again (a late answer to it is
    // still its own); any other is not sent, and its readByte answers -1 at once, until the line
    // has been quiet for QuietMilliseconds: no byte came, nothing was sent and no read timed out.
    // Then what arrived is dropped and the command sent as usual. A device answering in time
    // never meets this; a silent one costs a tick one or two read waits instead of five.
    if (m_unsettledCommand != -1) {
        if (!m_sinceLineStirred.hasExpired(QuietMilliseconds) && byte != m_unsettledCommand) {
            m_withheld = true;
            return;
        }
        if (m_sinceLineStirred.hasExpired(QuietMilliseconds))
            m_unsettledCommand = -1;
        m_sinceLineStirred.start();
    }
    // A byte that comes between takeInNoise() and here is dropped unseen rather than taken for
    // the answer.
    m_port->clear(QSerialPort::Input);
    m_lastCommand = byte;
    m_awaitingAnswer = true;
    const char data = char(byte);
    if (m_port->write(&data, 1) == 1)
        m_port->waitForBytesWritten(WriteWaitMilliseconds);
    m_port->clearError();
    dropLostPort();
}

qint16 QtSerialLink::readByte()
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
    } else {
        m_sinceAnswer.start();
    }
    // An answer with company is no answer.
    const bool alone = m_port->bytesAvailable() == 0;
    if (!alone)
        dropUnasked();
    m_port->clearError();
    dropLostPort();
    return received && alone ? qint16(quint8(byte)) : qint16(-1);
}

bool QtSerialLink::confirmAnswers()
{
    m_runOpen = false;
    if (m_state == State::Open && m_sinceAnswer.isValid()) {
        const qint64 left = GuardMilliseconds - m_sinceAnswer.elapsed();
        if (left > 0)
            QThread::msleep(ulong(left));
        takeInNoise();
        m_sinceAnswer.invalidate();
    }
    return !std::exchange(m_noiseInRun, false) && !lineNoisy();
}

void QtSerialLink::setRts(int level)
{
    m_rtsLevel = level != 0 ? 1 : 0;
    if (m_state != State::Open)
        return;
    m_port->setRequestToSend(m_rtsLevel == 1);
    m_port->clearError();
    dropLostPort();
}

void QtSerialLink::setDtr(int level)
{
    m_dtrLevel = level != 0 ? 1 : 0;
    if (m_state != State::Open)
        return;
    m_port->setDataTerminalReady(m_dtrLevel == 1);
    m_port->clearError();
    dropLostPort();
}

void QtSerialLink::delay(int milliseconds)
{
    // Sleeps rather than waits in an event loop, so no timer tick can run inside the caller's.
    if (milliseconds > 0)
        QThread::msleep(ulong(milliseconds));
}

void QtSerialLink::dropUnasked()
{
    if (m_port->bytesAvailable() > 0) {
        m_port->skip(m_port->bytesAvailable());
        noteNoise();
    }
}

void QtSerialLink::takeInNoise()
{
    // Takes in what the system holds; the readyRead handler drops it as unasked.
    m_port->waitForReadyRead(0);
    dropUnasked();
}

void QtSerialLink::noteNoise()
{
    m_sinceLineStirred.start();
    m_sinceNoise.start();
    m_noiseInRun = true;
}

bool QtSerialLink::lineNoisy() const
{
    return m_sinceNoise.isValid() && !m_sinceNoise.hasExpired(QuietMilliseconds);
}

void QtSerialLink::resetExchange()
{
    m_lastCommand = -1;
    m_unsettledCommand = -1;
    m_awaitingAnswer = false;
    m_withheld = false;
    m_sinceNoise.invalidate();
    m_sinceAnswer.invalidate();
    m_noiseInRun = false;
    m_runOpen = false;
}

void QtSerialLink::closePort()
{
    resetExchange();
    m_state = State::Closed;
    m_lossPending = false;
    if (m_port->isOpen())
        m_port->close();
    m_port->clearError();
}

bool QtSerialLink::openPort()
{
    if (!m_port->open(QIODevice::ReadWrite))
        return false;
    m_state = State::Open;
    m_lossPending = false;
    resetExchange();
    applyModemLines();
    return true;
}

void QtSerialLink::applyModemLines()
{
    // A pseudo-terminal has no modem lines; a refusal leaves the port as usable as before.
    if (m_rtsLevel >= 0)
        m_port->setRequestToSend(m_rtsLevel == 1);
    if (m_dtrLevel >= 0)
        m_port->setDataTerminalReady(m_dtrLevel == 1);
    m_port->clearError();
}

void QtSerialLink::onError(int error)
{
    if (m_state != State::Open || m_lossPending ||
        !meansDeviceGone(QSerialPort::SerialPortError(error)))
        return;
    m_lossPending = true;
    m_lossReason =
        openfailure::lossReason(QSerialPort::SerialPortError(error), m_port->errorString());
    // The error may come from inside a QSerialPort call or from the event loop between ours; the
    // port is closed once that call has returned, so a hung-up terminal cannot keep waking it.
    QTimer::singleShot(0, m_port.get(), [this] { dropLostPort(); });
}

void QtSerialLink::dropLostPort()
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

bool QtSerialLink::portUsable()
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
