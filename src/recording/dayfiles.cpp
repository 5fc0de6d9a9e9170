#include "dayfiles.h"

#include "readinghistory.h"
#include "recordseries.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace {

// A day at one record a second is about 3.5 MB; anything far beyond is not a day file.
constexpr qint64 LargestFile = 64 * 1024 * 1024;

// Exactly the digits the field must have.
bool readDigits(const char *&at, const char *end, int digits, int &value)
{
    if (end - at < digits)
        return false;
    value = 0;
    for (int i = 0; i < digits; ++i, ++at) {
        if (*at < '0' || *at > '9')
            return false;
        value = value * 10 + (*at - '0');
    }
    return true;
}

bool expect(const char *&at, const char *end, char c)
{
    if (at == end || *at != c)
        return false;
    ++at;
    return true;
}

// "21,5", "-0,3" or nothing, up to the next ';'.
bool readTenths(const char *&at, const char *end, qint16 &tenths)
{
    if (at != end && *at == ';') {
        tenths = ReadingHistory::NoValue;
        return true;
    }
    const bool negative = at != end && *at == '-';
    if (negative)
        ++at;
    int whole = 0;
    int digits = 0;
    for (; at != end && *at >= '0' && *at <= '9' && digits < 4; ++at, ++digits)
        whole = whole * 10 + (*at - '0');
    int tenth = 0;
    if (digits == 0 || !expect(at, end, ',') || !readDigits(at, end, 1, tenth))
        return false;
    const int value = whole * 10 + tenth;
    if (value >= ReadingHistory::TenthsLimit)
        return false;
    tenths = qint16(negative ? -value : value);
    return at != end && *at == ';';
}

} // namespace

namespace dayfiles {

bool parseLine(const char *begin, const char *end, qint64 &secsSinceEpoch, qint16 &tenths)
{
    const char *at = begin;
    int year, month, day, hour, minute, second, offsetHours, offsetMinutes;
    if (!readDigits(at, end, 4, year) || !expect(at, end, '-') || !readDigits(at, end, 2, month) ||
        !expect(at, end, '-') || !readDigits(at, end, 2, day) || !expect(at, end, ' ') ||
        !readDigits(at, end, 2, hour) || !expect(at, end, ':') || !readDigits(at, end, 2, minute) ||
        !expect(at, end, ':') || !readDigits(at, end, 2, second) || !expect(at, end, ';') ||
        at == end)
        return false;
    const char sign = *at++;
    if ((sign != '+' && sign != '-') || !readDigits(at, end, 2, offsetHours) ||
        !expect(at, end, ':') || !readDigits(at, end, 2, offsetMinutes) || !expect(at, end, ';') ||
        !readTenths(at, end, tenths))
        return false;
    // The rest (battery, charging) is not needed; a line cut short before it is damaged.
    if (std::count(at, end, ';') != 2)
        return false;
    const QDate date(year, month, day);
    if (!date.isValid() || hour > 23 || minute > 59 || second > 59 || offsetMinutes > 59 ||
        offsetHours > 14)
        return false;
    const int offset = (offsetHours * 3600 + offsetMinutes * 60) * (sign == '-' ? -1 : 1);
    secsSinceEpoch = (date.toJulianDay() - QDate(1970, 1, 1).toJulianDay()) * 86400 + hour * 3600 +
                     minute * 60 + second - offset;
    return true;
}

ReadingHistory read(const QString &folder, QDate last, int days)
{
    ReadingHistory history;
    const QDir dir(folder);
    for (QDate date = last.addDays(1 - days); date <= last; date = date.addDays(1)) {
        // Only a regular file: reading a pipe or a device of that name would never end.
        const QFileInfo info(dir.filePath(RecordSeries::fileName(date)));
        QFile file(info.filePath());
        if (!info.isFile() || info.size() > LargestFile || !file.open(QIODevice::ReadOnly))
            continue;
        // At most what the size allowed, should the file grow meanwhile.
        const QByteArray bytes = file.read(LargestFile);
        // Every record starts with its file's date; one that does not is damaged, and taken it
        // would push the readings around it out of the course. A record out of order (a digit
        // gone wrong) is put in its place instead of costing the records after it.
        const QByteArray day = date.toString(u"yyyy-MM-dd").toLatin1();
        std::vector<std::pair<qint64, qint16>> readings;
        const char *at = bytes.constData();
        const char *const end = at + bytes.size();
        while (at < end) {
            const char *lineEnd = static_cast<const char *>(std::memchr(at, '\n', end - at));
            if (!lineEnd)
                lineEnd = end;
            qint64 time = 0;
            qint16 tenths = 0;
            const char *textEnd = lineEnd > at && lineEnd[-1] == '\r' ? lineEnd - 1 : lineEnd;
            if (textEnd - at > day.size() && std::memcmp(at, day.constData(), day.size()) == 0 &&
                parseLine(at, textEnd, time, tenths))
                readings.emplace_back(time, tenths);
            at = lineEnd + 1;
        }
        std::stable_sort(readings.begin(), readings.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
        for (const auto &[time, tenths] : readings)
            history.appendTenths(time, tenths);
    }
    return history;
}

} // namespace dayfiles
