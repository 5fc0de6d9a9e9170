#include "portmap.h"

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
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(portNumber);
#else
    return QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
#endif
}

QString systemDevicePath(const QString &name)
{
#ifdef Q_OS_WIN
    return name;
#else
    return QStringLiteral("/dev/") + name;
#endif
}

QString deviceFor(const QByteArray &openText)
{
    if (const std::optional<int> number = portNumber(openText))
        return devicePath(*number);
    const qsizetype colon = openText.indexOf(':');
    const QString name = QString::fromLocal8Bit(colon < 0 ? openText : openText.left(colon));
    const QStringList parts = name.split(QLatin1Char('/'));
    if (name.isEmpty() || parts.contains(QString()) || parts.contains(QStringLiteral("..")))
        return {};
#ifdef Q_OS_WIN
    // A port is one name in the device namespace; a path could lead to any device there.
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return {};
#endif
    return systemDevicePath(name);
}

QByteArray openText(const QString &name)
{
    return name.toLocal8Bit() + Settings;
}

} // namespace portmap
