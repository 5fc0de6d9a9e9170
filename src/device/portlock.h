#pragma once

#include <QString>

// Why a port the user may open was still refused: on Linux, what stands at its lock file.
namespace portlock {

struct Reason
{
    QString logHint; // for the log line, in English: " (is another program using it?)"
    QString advice;  // for the tool tip, in German: what it is and what helps
};

Reason whyRefused(const QString &devicePath);

} // namespace portlock
