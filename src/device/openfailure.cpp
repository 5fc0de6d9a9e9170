#include "openfailure.h"

namespace openfailure {

Explanation explain(QSerialPort::SerialPortError error, const QString &devicePath)
{
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return {QStringLiteral("Den Anschluss gibt es nicht"),
                QStringLiteral("Ist der Adapter eingesteckt? Sonst im Menü \"Anschluss\" einen "
                               "anderen wählen."),
                QStringLiteral(" (is the adapter plugged in?)")};
    case QSerialPort::PermissionError:
        return refused(devicePath);
    case QSerialPort::OpenError:
        return {QStringLiteral("Er ist schon geöffnet"), QString(), QString()};
    case QSerialPort::UnsupportedOperationError:
        return {QStringLiteral("Er lässt 9600 Baud, 8 Datenbits, keine Parität und 1 Stoppbit "
                               "nicht zu"),
                QStringLiteral("einen anderen Adapter verwenden."), QString()};
    default:
        return {QStringLiteral("Das System meldet einen Fehler"),
                QStringLiteral("den Adapter aus- und wieder einstecken, dann den Anschluss noch "
                               "einmal wählen."),
                QString()};
    }
}

QString toolTip(const QString &shownDevice, const Explanation &explanation)
{
    QString tip =
        QStringLiteral("%1 lässt sich nicht öffnen: %2.").arg(shownDevice, explanation.reason);
    if (!explanation.remedy.isEmpty())
        tip += QStringLiteral("\nAbhilfe: ") + explanation.remedy;
    return tip;
}

} // namespace openfailure
