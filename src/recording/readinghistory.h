#pragma once

#include <QList>
#include <QtGlobal>

#include <limits>
#include <optional>

// The temperatures of the measurement cycle with their times, held compactly for the course
// window: six bytes a reading (seconds from a base and whole tenths of a degree), in time order.
class ReadingHistory
{
public:
    // A tick without a temperature: the course breaks there.
    static constexpr qint16 NoValue = std::numeric_limits<qint16>::min();
    // The held tenths lie below this in size; a device never comes near.
    static constexpr int TenthsLimit = 30000;
    // Six weeks at one reading a second, about 22 MB; beyond, the oldest eighth gives way.
    static constexpr qsizetype MostHeld = 42 * 86400;

    // A time before the last one held (a clock set back) first drops the readings from it on, so
    // that the times stay in order. A time no 32-bit offset reaches from the base is ignored.
    void append(qint64 secsSinceEpoch, std::optional<double> temperature);
    void appendTenths(qint64 secsSinceEpoch, qint16 tenths);
    // Readings from before the first one held, as a restart finds them on disk: those at or
    // after it are left out.
    void prepend(const ReadingHistory &earlier);

    qsizetype size() const { return m_offsets.size(); }
    bool isEmpty() const { return m_offsets.isEmpty(); }
    qint64 time(qsizetype index) const { return m_base + m_offsets[index]; }
    qint16 tenths(qsizetype index) const { return m_tenths[index]; }
    // The first reading at or after the time; size() for none.
    qsizetype lowerBound(qint64 secsSinceEpoch) const;
    // What the readings take in memory, with the lists' spare room.
    qsizetype bytes() const;

private:
    void dropOldest();

    qint64 m_base = 0;
    QList<qint32> m_offsets;
    QList<qint16> m_tenths;
};
