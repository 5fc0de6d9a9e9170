#include "clock.h"

#include <QString>
#include <QTime>

#include <ctime>

QString clockText(const QTime &time)
{
    std::tm parts{};
    parts.tm_hour = time.hour();
    parts.tm_min = time.minute();
    parts.tm_sec = time.second();
    parts.tm_mday = 1;
    parts.tm_year = 100;
    char buffer[64];
    const std::size_t length = std::strftime(buffer, sizeof buffer, "%X", &parts);
    return QString::fromLocal8Bit(buffer, static_cast<qsizetype>(length));
}
