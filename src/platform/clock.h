#pragma once

class QString;
class QTime;

// The time of day, replaceable so that tests can set it.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QTime currentTime() const = 0;
};

class SystemClock final : public Clock
{
public:
    QTime currentTime() const override;
};

// The time of day as the system formats a time, with seconds ("14:05:09" under German settings).
// The user's LC_TIME decides, on Windows the regional settings; Qt's own short format would drop
// the seconds.
QString clockText(const QTime &time);
