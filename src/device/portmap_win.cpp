#include "portmap.h"
#include "portmap_p.h"

#include <QString>

namespace portmap {

QString systemName(int portNumber)
{
    return QStringLiteral("COM%1").arg(portNumber);
}

QString systemDevicePath(const QString &name)
{
    return name;
}

bool isPortName(const QString &name)
{
    return !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

} // namespace portmap
