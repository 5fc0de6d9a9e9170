#include "logrecord.h"

#include <QString>

QString logRecord(const QString &time, const QString &current, const QString &minimum,
                  const QString &maximum)
{
    constexpr QChar Tab = u'\t';
    QString record;
    record.reserve(time.size() + current.size() + minimum.size() + maximum.size() + 5);
    record.append(time)
        .append(Tab)
        .append(current)
        .append(Tab)
        .append(minimum)
        .append(Tab)
        .append(maximum)
        .append(QLatin1String("\r\n"));
    return record;
}
