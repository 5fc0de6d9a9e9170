#include "course.h"

#include <QString>

#include <cstdlib>

namespace course {

qsizetype columnOf(qint64 time, qint64 from, qint64 span, int columns)
{
    return qsizetype((time - from) * (columns - 1) / span);
}

Course decimate(const ReadingHistory &history, qint64 from, qint64 to, int columns)
{
    Course course;
    if (columns <= 0 || to < from)
        return course;
    course.columns.resize(columns);
    const qint64 span = qMax<qint64>(1, to - from);
    const qsizetype end = history.lowerBound(to + 1);
    // A gap before the first reading of the span is no part of it.
    bool broken = true;
    qint64 lastTime = 0;
    qint16 lowest = 0;
    qint16 highest = 0;
    for (qsizetype i = history.lowerBound(from); i < end; ++i) {
        const qint64 time = history.time(i);
        const qint16 value = history.tenths(i);
        if (time - lastTime > GapSeconds)
            broken = true;
        lastTime = time;
        if (value == ReadingHistory::NoValue) {
            broken = true;
            continue;
        }
        Column &column = course.columns[columnOf(time, from, span, columns)];
        if (column.isEmpty()) {
            column = {value, value, value, value, !broken};
        } else {
            column.minimum = qMin(column.minimum, value);
            column.maximum = qMax(column.maximum, value);
            column.last = value;
        }
        if (course.minimumIndex < 0 || value < lowest) {
            course.minimumIndex = i;
            lowest = value;
        }
        if (course.maximumIndex < 0 || value > highest) {
            course.maximumIndex = i;
            highest = value;
        }
        broken = false;
    }
    return course;
}

QString tenthsText(int tenths)
{
    const QString text = QString::number(std::abs(tenths) / 10) + QLatin1Char(',') +
                         QString::number(std::abs(tenths) % 10);
    return tenths < 0 ? QLatin1Char('-') + text : text;
}

} // namespace course
