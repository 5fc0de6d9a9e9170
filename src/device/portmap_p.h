#pragma once

class QString;

// What differs between the systems, in portmap_posix.cpp and portmap_win.cpp.
namespace portmap {

// The system's name of COMn: ttyS(n-1) on Linux, COMn itself on Windows.
QString systemName(int portNumber);

// Whether a name that stays within /dev may stand for a port: on Windows a port is one name in
// the device namespace, and a path could lead to any device there.
bool isPortName(const QString &name);

} // namespace portmap
