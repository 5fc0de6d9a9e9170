#pragma once

#include <QList>
#include <QString>

class QDate;
class QTimeZone;

// The labels of the course's axes.
namespace timeaxis {

struct Tick
{
    qint64 secsSinceEpoch = 0;
    // "14:30" ("14:30:15" below a minute); empty where the ticks are days.
    QString time;
    // "Mo 07.12." on the first tick of each day once the span crosses midnight, else empty.
    QString date;
};

// Ticks on round local times between from and to, where width pixels show the span, at least
// spacing pixels apart. Both occurrences of an hour the clock repeats get a tick; an hour it
// skips gets none.
QList<Tick> timeTicks(qint64 from, qint64 to, int width, int spacing, const QTimeZone &zone);

// "Mo 07.12.", whatever the locale.
QString dayText(QDate date);
// Whether the local dates of the two times differ: then times need their day beside them.
bool crossesMidnight(qint64 from, qint64 to, const QTimeZone &zone);

// Round values in tenths of a degree between low and high, at least spacing pixels apart over
// height pixels; the step is the distance between the first two.
QList<int> valueTicks(int low, int high, int height, int spacing);

} // namespace timeaxis
