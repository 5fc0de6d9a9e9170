#include "portmap.h"
#include "portmap_p.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace portmap {

namespace {
constexpr char Settings[] = ":9600,n,8,1";
}

std::optional<int> portNumber(const QByteArray &openText)
{
    if (!openText.startsWith("COM"))
        return std::nullopt;
    const int colon = openText.indexOf(':');
    const QByteArray digits = openText.mid(3, colon < 0 ? -1 : colon - 3);
    bool ok = false;
    const int number = digits.toInt(&ok);
    if (!ok || number < 1 || number > 99 || digits.startsWith('+') || digits.startsWith('0'))
        return std::nullopt;
    return number;
}

QString devicePath(int portNumber)
{
    const QByteArray variable = "WARMLOG_COM" + QByteArray::number(portNumber);
    const QString overridden = qEnvironmentVariable(variable.constData());
    if (!overridden.isEmpty())
        return overridden;
    return systemDevicePath(systemName(portNumber));
}

QString deviceFor(const QByteArray &openText)
{
    if (const std::optional<int> number = portNumber(openText))
        return devicePath(*number);
    const qsizetype colon = openText.indexOf(':');
    const QString name = QString::fromLocal8Bit(colon < 0 ? openText : openText.left(colon));
    const QStringList parts = name.split(QLatin1Char('/'));
    if (name.isEmpty() || parts.contains(QString()) || parts.contains(QStringLiteral("..")) ||
        !isPortName(name))
        return {};
    return systemDevicePath(name);
}

QByteArray openText(const QString &name)
{
    return name.toLocal8Bit() + Settings;
}

} // namespace portmap
