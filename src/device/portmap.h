#pragma once

#include <optional>

class QByteArray;
class QString;

// How the library turns an open text such as "COM1:9600,n,8,1" into a device.
namespace portmap {

// The port number n of "COMn:...", or empty when the text names no port from 1 to 99.
std::optional<int> portNumber(const QByteArray &openText);

// The device that COMn stands for on this system: on Linux /dev/ttyS(n-1) unless the
// environment variable WARMLOG_COMn names another one (a USB adapter, a pseudo-terminal); on
// Windows COMn itself.
QString devicePath(int portNumber);

// The device behind the port a system calls name ("ttyUSB0", "COM5"): /dev/ttyUSB0 on Linux,
// the name itself on Windows.
QString systemDevicePath(const QString &name);

// The device an open text names: "COMn:..." as above, otherwise "name:..." with a port's system
// name. Empty when the text names neither, or a name that would lead out of /dev.
QString deviceFor(const QByteArray &openText);

// The open text of the port a system calls name.
QByteArray openText(const QString &name);

} // namespace portmap
