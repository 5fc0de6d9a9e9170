#include "clock.h"

#include <QDateTime>
#include <QTime>

QTime SystemClock::currentTime() const
{
    return QTime::currentTime();
}

QDateTime Clock::currentDateTime() const
{
    return QDateTime(QDate::currentDate(), currentTime());
}

// Read at once: a date and a time read one after the other could straddle midnight.
QDateTime SystemClock::currentDateTime() const
{
    return QDateTime::currentDateTime();
}
