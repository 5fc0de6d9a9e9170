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

} // namespace portmap
