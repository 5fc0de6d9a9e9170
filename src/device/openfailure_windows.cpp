#include "openfailure.h"

namespace openfailure {

// Windows locks a port by opening it, and refuses it to anybody else with "access denied".
Explanation refused(const QString &)
{
    return {QStringLiteral("Ein anderes Programm benutzt ihn"),
            QStringLiteral("das andere Programm beenden, dann den Anschluss noch einmal wählen."),
            QStringLiteral(" (another program is using it)")};
}

QString lossReason(QSerialPort::SerialPortError, const QString &errorText)
{
    return errorText;
}

} // namespace openfailure
