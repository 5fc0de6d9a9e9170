#pragma once

#include <QObject>
#include <QString>

// A control of a window, found by the name the design gives it; a missing one ends the test run.
template <typename Control> Control *named(const QObject &window, const char *name)
{
    auto *found = dynamic_cast<Control *>(window.findChild<QObject *>(QLatin1String(name)));
    if (!found)
        qFatal("%s has no control %s", qPrintable(window.objectName()), name);
    return found;
}
