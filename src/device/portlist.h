#pragma once

#include <QList>
#include <QString>

// One serial port the system knows: its name ("ttyUSB0", "COM5") and what the driver says it
// is ("FT232R USB UART"), empty when it says nothing.
struct SerialPortName
{
    QString systemName;
    QString description;
};

// The serial ports of this machine, read afresh at every call.
class PortList
{
public:
    virtual ~PortList() = default;
    virtual QList<SerialPortName> ports() const = 0;
};

class SystemPortList final : public PortList
{
public:
    QList<SerialPortName> ports() const override;
};
