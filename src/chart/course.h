#pragma once

#include "recording/readinghistory.h"

#include <QList>

// What the course window draws of a span of readings: per pixel column the lowest and highest
// reading and where the line enters and leaves it, so that drawing costs the width, not the
// number of readings, and no extreme is lost.
namespace course {

// Readings further apart than this have a gap between them: the program did not run.
constexpr qint64 GapSeconds = 10;

struct Column
{
    // All NoValue for a column without a reading.
    qint16 minimum = ReadingHistory::NoValue;
    qint16 maximum = ReadingHistory::NoValue;
    qint16 first = ReadingHistory::NoValue;
    qint16 last = ReadingHistory::NoValue;
    // The line comes without a gap from the last column before it that has readings.
    bool joined = false;

    bool isEmpty() const { return first == ReadingHistory::NoValue; }
};

struct Course
{
    QList<Column> columns;
    // The lowest and highest reading of the span (the first of equals), -1 without one.
    qsizetype minimumIndex = -1;
    qsizetype maximumIndex = -1;
};

// The column of a time in the span from from, of span seconds (at least 1), over columns.
qsizetype columnOf(qint64 time, qint64 from, qint64 span, int columns);

// The readings from from to to (both included) in columns of equal time.
Course decimate(const ReadingHistory &history, qint64 from, qint64 to, int columns);

// "21,5", "-0,3": whole tenths with a decimal comma.
QString tenthsText(int tenths);

} // namespace course
