#include "readinghistory.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

// The base lies this far before the first reading, so that older readings from disk fit too.
constexpr qint64 BaseLead = qint64(1) << 30;

} // namespace

void ReadingHistory::append(qint64 secsSinceEpoch, std::optional<double> temperature)
{
    qint16 tenths = NoValue;
    if (temperature && std::abs(*temperature) * 10 < TenthsLimit)
        tenths = qint16(std::lround(*temperature * 10));
    appendTenths(secsSinceEpoch, tenths);
}

void ReadingHistory::appendTenths(qint64 secsSinceEpoch, qint16 tenths)
{
    if (m_offsets.isEmpty())
        m_base = secsSinceEpoch - BaseLead;
    const qint64 offset = secsSinceEpoch - m_base;
    if (offset < 0 || offset > std::numeric_limits<qint32>::max())
        return;
    if (!m_offsets.isEmpty() && m_offsets.constLast() > offset) {
        const qsizetype later = lowerBound(secsSinceEpoch);
        m_offsets.resize(later);
        m_tenths.resize(later);
    }
    if (size() == MostHeld)
        dropOldest();
    // Grown by hand, so that the lists never hold more room than MostHeld readings take.
    if (size() == m_offsets.capacity()) {
        const qsizetype room = qMin(MostHeld, qMax<qsizetype>(1024, 2 * size()));
        m_offsets.reserve(room);
        m_tenths.reserve(room);
    }
    m_offsets.append(qint32(offset));
    m_tenths.append(tenths);
}

void ReadingHistory::prepend(const ReadingHistory &earlier)
{
    const qsizetype count = isEmpty() ? earlier.size() : earlier.lowerBound(time(0));
    if (count == 0)
        return;
    ReadingHistory merged;
    merged.m_offsets.reserve(count + size());
    merged.m_tenths.reserve(count + size());
    for (qsizetype i = std::max<qsizetype>(0, count + size() - MostHeld); i < count; ++i)
        merged.appendTenths(earlier.time(i), earlier.tenths(i));
    for (qsizetype i = 0; i < size(); ++i)
        merged.appendTenths(time(i), tenths(i));
    *this = std::move(merged);
}

qsizetype ReadingHistory::lowerBound(qint64 secsSinceEpoch) const
{
    const qint64 offset = secsSinceEpoch - m_base;
    if (offset <= 0)
        return 0;
    if (offset > std::numeric_limits<qint32>::max())
        return size();
    return std::lower_bound(m_offsets.cbegin(), m_offsets.cend(), qint32(offset)) -
           m_offsets.cbegin();
}

qsizetype ReadingHistory::bytes() const
{
    return m_offsets.capacity() * qsizetype(sizeof(qint32)) +
           m_tenths.capacity() * qsizetype(sizeof(qint16));
}

void ReadingHistory::dropOldest()
{
    // An eighth at a time, so that a full history does not move every reading on every tick;
    // into lists of exactly the most room, which QList's own growth would double.
    const qsizetype dropped = MostHeld / 8;
    const auto keepNewest = [dropped](auto &list) {
        std::remove_reference_t<decltype(list)> kept;
        kept.reserve(MostHeld);
        std::copy(list.constBegin() + dropped, list.constEnd(), std::back_inserter(kept));
        list.swap(kept);
    };
    keepNewest(m_offsets);
    keepNewest(m_tenths);
}
