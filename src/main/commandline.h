#pragma once

#include <QString>
#include <QStringList>

// What the command line asks of a start, for unattended use from an autostart entry.
struct StartOptions
{
    // A port to choose at start, "COM1" or a listed one such as "ttyUSB0"; empty for none.
    QString port;
    // A folder to start a measurement series in; empty for none.
    QString recordFolder;
    // Start with the window in the notification area.
    bool tray = false;
};

namespace commandline {

// What the command line did when the program should not start its window.
enum class Outcome { Start, Help, Version, Invalid };

// Reads the arguments (the program's name first). For Help and Version, text is what to print on
// standard output; for Invalid, the one line for standard error.
Outcome parse(const QStringList &arguments, StartOptions *options, QString *text);

} // namespace commandline
