#pragma once
// Sets CLOCK_REALTIME directly; needs CAP_SYS_TIME.

#include "clock/SystemClock.h"

class TPosixClock final : public ISystemClock
{
public:
    bool SetSystemTime(const TSystemTime &utc) override;
    QString BackendName() const override { return QStringLiteral("clock_settime"); }
};
