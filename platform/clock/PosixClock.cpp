#include "clock/PosixClock.h"

#include <time.h>

bool TPosixClock::SetSystemTime(const TSystemTime &utc)
{
    using namespace std::chrono;

    const std::optional<TClockInstant> instant = SystemTimeToInstant(utc);
    if (!instant)
        return false;

    const sys_seconds whole = floor<seconds>(*instant);
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(whole.time_since_epoch().count());
    ts.tv_nsec = static_cast<long>(duration_cast<nanoseconds>(*instant - whole).count());
    return clock_settime(CLOCK_REALTIME, &ts) == 0;
}
