#include "portlock.h"

namespace portlock {

// Windows locks a port by opening it; a port refused to a user who may use it is open elsewhere.
Reason whyRefused(const QString &)
{
    return {QStringLiteral(" (is another program using it?)"),
            QStringLiteral("Vielleicht benutzt ein anderes Programm den Anschluss.")};
}

} // namespace portlock
