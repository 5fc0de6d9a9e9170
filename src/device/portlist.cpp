#include "portlist.h"

#include <QSerialPortInfo>

QList<SerialPortName> SystemPortList::ports() const
{
    QList<SerialPortName> names;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        names.append({info.portName(), info.description()});
    return names;
}
