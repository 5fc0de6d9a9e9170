#include "portmap.h"
#include "portmap_p.h"

#include <QString>

namespace portmap {

QString systemName(int portNumber)
{
    return QStringLiteral("ttyS%1").arg(portNumber - 1);
}

QString systemDevicePath(const QString &name)
{
    return QStringLiteral("/dev/") + name;
}

bool isPortName(const QString &)
{
    return true;
}

} // namespace portmap
