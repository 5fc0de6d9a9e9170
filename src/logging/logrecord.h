#pragma once

class QString;

// One line of the log: the time of day, then the main window's current, minimum and maximum
// temperature texts exactly as shown, separated by tabs and ended by CR LF.
QString logRecord(const QString &time, const QString &current, const QString &minimum,
                  const QString &maximum);
