#pragma once

#include "platform/clock.h"

#include <QTime>

// A clock that shows whatever time the test sets.
class FixedClock final : public Clock
{
public:
    QTime time{16, 0, 0};
    QTime currentTime() const override { return time; }
};
