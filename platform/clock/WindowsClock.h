#pragma once
// Sets the clock through the Win32 SetSystemTime call.

#include "clock/SystemClock.h"

class TWindowsClock final : public ISystemClock
{
public:
    bool SetSystemTime(const TSystemTime &utc) override;
    QString BackendName() const override { return QStringLiteral("SetSystemTime"); }
};
