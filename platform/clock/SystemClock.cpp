#include "clock/SystemClock.h"

#include <QtGlobal>

#if defined(Q_OS_WIN)
#include "clock/WindowsClock.h"
#include <windows.h>
#elif defined(Q_OS_LINUX)
#include "clock/PosixClock.h"
#include "clock/TimedateClock.h"
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>
#else
#error "Quorvel sets the clock on Linux and Windows only"
#endif

std::optional<TClockInstant> SystemTimeToInstant(const TSystemTime &utc) noexcept
{
    using namespace std::chrono;

    if (utc.wYear < CMinSystemYear || utc.wYear > CMaxSystemYear)
        return std::nullopt;
    const year_month_day date{year{utc.wYear}, month{utc.wMonth}, day{utc.wDay}};
    if (!date.ok() || utc.wHour > 23 || utc.wMinute > 59 || utc.wSecond > 59 ||
        utc.wMilliseconds > 999)
        return std::nullopt;

    return TClockInstant{sys_days{date}} + hours{utc.wHour} + minutes{utc.wMinute} +
           seconds{utc.wSecond} + milliseconds{utc.wMilliseconds};
}

#if defined(Q_OS_WIN)

std::unique_ptr<ISystemClock> CreateSystemClock()
{
    return std::make_unique<TWindowsClock>();
}

#else

std::unique_ptr<ISystemClock> CreateSystemClock()
{
    if (HasClockPrivilege())
        return std::make_unique<TPosixClock>();
    return std::make_unique<TTimedateClock>();
}

bool HasClockPrivilege() noexcept
{
    __user_cap_header_struct header{};
    header.version = _LINUX_CAPABILITY_VERSION_3;
    header.pid = 0; // this thread
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    return (data[CAP_TO_INDEX(CAP_SYS_TIME)].effective & CAP_TO_MASK(CAP_SYS_TIME)) != 0;
}

#endif
