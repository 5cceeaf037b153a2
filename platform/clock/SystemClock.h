#pragma once
// Setting the computer's clock. One interface, one backend per way the
// operating system lets a program do it; CreateSystemClock() picks the one
// that can work for the running process.

#include <QString>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

// The operating system's record for setting the clock; the time is UTC.
// Same fields and order as the Windows SYSTEMTIME.
struct TSystemTime
{
    std::uint16_t wYear;
    std::uint16_t wMonth;        // 1..12
    std::uint16_t wDayOfWeek;    // 0 = Sunday; ignored when setting the clock
    std::uint16_t wDay;          // 1..31
    std::uint16_t wHour;         // 0..23
    std::uint16_t wMinute;       // 0..59
    std::uint16_t wSecond;       // 0..59, leap seconds cannot be set
    std::uint16_t wMilliseconds; // 0..999
};

using TClockInstant = std::chrono::sys_time<std::chrono::microseconds>;

// Years a record may carry: the range Windows accepts, applied on every
// platform so a record means the same everywhere.
inline constexpr int CMinSystemYear = 1601;
inline constexpr int CMaxSystemYear = 30827;

// The instant the record names, or nothing when it is no valid date and time.
std::optional<TClockInstant> SystemTimeToInstant(const TSystemTime &utc) noexcept;

class ISystemClock
{
public:
    virtual ~ISystemClock() = default;

    // Sets the system clock to the UTC date and time of the record, to the whole second.
    // Returns false on any failure or refusal; a refusal is never reported as success.
    virtual bool SetSystemTime(const TSystemTime &utc) = 0;

    // "clock_settime", "timedate1" or "SetSystemTime"
    virtual QString BackendName() const = 0;
};

// Picks the backend once, from the privileges the process holds now.
std::unique_ptr<ISystemClock> CreateSystemClock();

#if defined(Q_OS_LINUX)
// CAP_SYS_TIME in the effective set: clock_settime will be allowed.
bool HasClockPrivilege() noexcept;
#endif
