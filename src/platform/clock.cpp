#include "clock.h"

#include <QTime>

QTime SystemClock::currentTime() const
{
    return QTime::currentTime();
}
