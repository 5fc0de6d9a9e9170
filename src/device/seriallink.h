#pragma once

#include <QString>
#include <QtGlobal>

class QByteArray;

// The serial library the program talks to the device through. It keeps one open port; the
// program names that port once and then sends and reads single bytes and sets the two modem
// lines. Every call blocks the caller until it returns. Results are never examined, but for
// readByte's -1, so none of these report failures.
class SerialLink
{
public:
    virtual ~SerialLink() = default;

    // "COM1:9600,n,8,1" to "COM4:9600,n,8,1", or a port's system name in place of COMn
    // ("ttyUSB0:9600,n,8,1"): opens that port and makes it the port of all later calls. May be
    // called again for another or the same port without close.
    virtual void open(const QByteArray &openText) = 0;
    // Why the last open could not open its port, in words for the user; empty once a port
    // opened.
    virtual QString openFailure() const { return {}; }
    // Releases the port; harmless when none was ever opened.
    virtual void close() = 0;
    virtual void sendByte(int byte) = 0;
    // 0 to 255: the next byte received; -1 when none arrived within the library's wait, also
    // when no port is open.
    virtual qint16 readByte() = 0;
    virtual void setRts(int level) = 0;
    virtual void setDtr(int level) = 0;
    virtual void delay(int milliseconds) = 0;

    // Ends a run of exchanges (a measurement tick, a port test): waits until the line has been
    // quiet for a moment after the last answer, so that a byte following it shows, and tells
    // whether every answer of the run came alone on a quiet line. False means that any of the
    // run's answers may belong to another command, or be no answer at all.
    virtual bool confirmAnswers() { return true; }
};
