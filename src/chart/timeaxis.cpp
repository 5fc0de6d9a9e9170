#include "timeaxis.h"

#include <QDateTime>
#include <QSet>
#include <QTimeZone>

#include <algorithm>
#include <array>
#include <cmath>

namespace timeaxis {

namespace {

constexpr qint64 Day = 86400;
constexpr std::array<qint64, 20> TimeSteps = {1,     2,     5,     10,  15,      30,     60,
                                              120,   300,   600,   900, 1800,    3600,   7200,
                                              10800, 21600, 43200, Day, 2 * Day, 7 * Day};
constexpr std::array<int, 12> ValueSteps = {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000};

qint64 floorDivide(qint64 a, qint64 b)
{
    return a / b - (a % b < 0 ? 1 : 0);
}

int offsetAt(qint64 secsSinceEpoch, const QTimeZone &zone)
{
    return zone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(secsSinceEpoch, QTimeZone::utc()));
}

// Local weeks start on Monday: 1970-01-05 was one.
bool startsStep(qint64 localDay, qint64 step)
{
    return step <= Day || floorDivide(localDay - 4, step / Day) * (step / Day) == localDay - 4;
}

} // namespace

QString dayText(QDate date)
{
    static const std::array<const char *, 7> Weekdays = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};
    return QLatin1String(Weekdays[date.dayOfWeek() - 1]) + QLatin1Char(' ') +
           date.toString(u"dd.MM.");
}

bool crossesMidnight(qint64 from, qint64 to, const QTimeZone &zone)
{
    return QDateTime::fromSecsSinceEpoch(from, zone).date() !=
           QDateTime::fromSecsSinceEpoch(to, zone).date();
}

QList<Tick> timeTicks(qint64 from, qint64 to, int width, int spacing, const QTimeZone &zone)
{
    QList<Tick> ticks;
    if (to <= from || width <= 0)
        return ticks;
    const double pixelsPerSecond = double(width) / double(to - from);
    const auto fitting = std::find_if(TimeSteps.cbegin(), TimeSteps.cend(), [&](qint64 step) {
        return double(step) * pixelsPerSecond >= spacing;
    });
    // Beyond the table (a clock that jumped years) whole weeks, as many as keep the spacing.
    const qint64 step = fitting != TimeSteps.cend()
                            ? *fitting
                            : 7 * Day * qint64(std::ceil(spacing / (7 * Day * pixelsPerSecond)));

    // Round local times, once for every offset from UTC the span has: a time whose offset
    // differs at that instant is not a local time there.
    QSet<int> offsets{offsetAt(from, zone)};
    const auto fromTime = QDateTime::fromSecsSinceEpoch(from, QTimeZone::utc());
    const auto toTime = QDateTime::fromSecsSinceEpoch(to, QTimeZone::utc());
    for (const QTimeZone::OffsetData &change : zone.transitions(fromTime, toTime))
        offsets.insert(change.offsetFromUtc);
    const qint64 grid = qMin(step, Day);
    QList<qint64> times;
    for (const int offset : std::as_const(offsets)) {
        const qint64 last = floorDivide(to + offset, grid);
        for (qint64 local = floorDivide(from + offset - 1, grid) + 1; local <= last; ++local) {
            const qint64 time = local * grid - offset;
            if (startsStep(floorDivide(local * grid, Day), step) && offsetAt(time, zone) == offset)
                times.append(time);
        }
    }
    std::sort(times.begin(), times.end());

    const bool withDates = crossesMidnight(from, to, zone);
    const QString timeFormat = step < 60 ? QStringLiteral("HH:mm:ss") : QStringLiteral("HH:mm");
    QDate lastDate;
    for (const qint64 time : std::as_const(times)) {
        const QDateTime local = QDateTime::fromSecsSinceEpoch(time, zone);
        Tick tick{time, {}, {}};
        if (step < Day)
            tick.time = local.time().toString(timeFormat);
        if (step >= Day || (withDates && local.date() != lastDate))
            tick.date = dayText(local.date());
        lastDate = local.date();
        ticks.append(tick);
    }
    return ticks;
}

QList<int> valueTicks(int low, int high, int height, int spacing)
{
    QList<int> ticks;
    if (height <= 0 || high < low)
        return ticks;
    const double pixelsPerTenth = double(height) / qMax(1, high - low);
    const auto fitting = std::find_if(ValueSteps.cbegin(), ValueSteps.cend(),
                                      [&](int step) { return step * pixelsPerTenth >= spacing; });
    const int step = fitting == ValueSteps.cend() ? ValueSteps.back() : *fitting;
    for (int value = int(floorDivide(low + step - 1, step)) * step; value <= high; value += step)
        ticks.append(value);
    return ticks;
}

} // namespace timeaxis
