#include "clock.h"

#include <QString>
#include <QTime>

#include <qt_windows.h>

QString clockText(const QTime &time)
{
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
}
