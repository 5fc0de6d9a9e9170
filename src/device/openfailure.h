#pragma once

#include <QSerialPort>
#include <QString>

// Why a port could not be opened, in the user's words and with what helps on this system.
namespace openfailure {

struct Explanation
{
    QString reason;  // German, for "… lässt sich nicht öffnen: REASON."
    QString remedy;  // German, what helps; empty where nothing does
    QString logHint; // English, ends the log line: " (is another program using it?)"
};

Explanation explain(QSerialPort::SerialPortError error, const QString &devicePath);

// The tool tip of the status label: the device and the reason, then the remedy.
QString toolTip(const QString &shownDevice, const Explanation &explanation);

// Why a port was refused (QSerialPort's PermissionError), as this system tells it.
Explanation refused(const QString &devicePath);

// Why an open port was lost, for the log line, from the error and QSerialPort's text for it.
QString lossReason(QSerialPort::SerialPortError error, const QString &errorText);

} // namespace openfailure
