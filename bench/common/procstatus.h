#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>

// A memory figure of this process from /proc/self/status ("VmRSS", "VmHWM") in kB, or -1 where
// the system has none.
inline long statusKilobytes(const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = field + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').first().toLong();
    }
    return -1;
}
