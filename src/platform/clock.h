#pragma once

class QDateTime;
class QString;
class QTime;

// The time of day, replaceable so that tests can set it.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QTime currentTime() const = 0;
    // The local date and time, for records that outlast a day. Unless replaced, today with
    // currentTime().
    virtual QDateTime currentDateTime() const;
};

class SystemClock final : public Clock
{
public:
    QTime currentTime() const override;
    QDateTime currentDateTime() const override;
};

// The time of day as the system formats a time, with seconds ("14:05:09" under German settings).
// The user's LC_TIME decides, on Windows the regional settings; Qt's own short format would drop
// the seconds.
QString clockText(const QTime &time);
