#include "clock.h"

#include <QDateTime>
#include <QString>
#include <QTime>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <ctime>
#endif

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

QString clockText(const QTime &time)
{
#ifdef Q_OS_WIN
    // Qt never sets the C runtime's locale here, so strftime would give its fixed "C" format;
    // the user's regional time format comes from the system itself.
    SYSTEMTIME parts{};
    parts.wYear = 2000;
    parts.wMonth = 1;
    parts.wDay = 1;
    parts.wHour = WORD(time.hour());
    parts.wMinute = WORD(time.minute());
    parts.wSecond = WORD(time.second());
    wchar_t buffer[64];
    const int length = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &parts, nullptr, buffer, 64);
    return length > 0 ? QString::fromWCharArray(buffer, length - 1) : time.toString(u"HH:mm:ss");
#else
    std::tm parts{};
    parts.tm_hour = time.hour();
    parts.tm_min = time.minute();
    parts.tm_sec = time.second();
    parts.tm_mday = 1;
    parts.tm_year = 100;
    char buffer[64];
    const std::size_t length = std::strftime(buffer, sizeof buffer, "%X", &parts);
    return QString::fromLocal8Bit(buffer, static_cast<qsizetype>(length));
#endif
}
