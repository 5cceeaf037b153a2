#pragma once

// Seconds from a network time server (32 bits, counted from 1900-01-01 00:00:00 UTC) turned
// into calendar fields. Everything is done in 64 bits: a 32-bit sum wraps from 2036 on.

#include "DateTime.h"

#include <chrono>
#include <cstdint>

namespace quorvel {

struct CalendarFields
{
    std::uint16_t year;   // 1968 .. 2104
    std::uint16_t month;  // 1 .. 12
    std::uint16_t day;    // 1 .. 31
    std::uint16_t hour;   // 0 .. 23
    std::uint16_t minute; // 0 .. 59
    std::uint16_t second; // 0 .. 59

    bool operator==(const CalendarFields &) const = default;
};

// Local time is always UTC+9, whatever zone the computer is set to.
inline constexpr std::int64_t kLocalOffsetSeconds = 32'400;
static_assert(std::chrono::seconds{std::chrono::hours{9}}.count() == kLocalOffsetSeconds);

inline constexpr std::int64_t kSecondsFrom1900To1970 = 2'208'988'800;
static_assert(std::chrono::seconds{std::chrono::sys_days{std::chrono::year{1970} / 1 / 1} -
                                   std::chrono::sys_days{std::chrono::year{1900} / 1 / 1}}
                  .count() == kSecondsFrom1900To1970);

// Values with the top bit set are read as counting from 1900 (1968-01-20 .. 2036-02-07);
// values with it clear as counting from the wrap at 2036-02-07 06:28:16 UTC (.. 2104-02-26).
inline constexpr std::uint32_t kFirstEraFlag = 0x8000'0000;
inline constexpr std::int64_t kSecondsPerEra = std::int64_t{1} << 32;

// Result: seconds since 1970-01-01 00:00:00 UTC, -61'505'152 .. 4'233'462'143.
constexpr std::int64_t ServerSecondsToUnix(std::uint32_t serverSeconds) noexcept
{
    const std::int64_t sinceFirstEra = (serverSeconds & kFirstEraFlag) != 0
                                           ? std::int64_t{serverSeconds}
                                           : std::int64_t{serverSeconds} + kSecondsPerEra;
    return sinceFirstEra - kSecondsFrom1900To1970;
}

static_assert(ServerSecondsToUnix(0) ==
              std::chrono::sys_seconds{std::chrono::sys_days{std::chrono::year{2036} / 2 / 7} +
                                       std::chrono::hours{6} + std::chrono::minutes{28} +
                                       std::chrono::seconds{16}}
                  .time_since_epoch()
                  .count());

namespace detail {

// Valid for any unixSeconds whose year fits std::uint16_t; negative values are floored.
constexpr CalendarFields FieldsOfUnixSeconds(std::int64_t unixSeconds) noexcept
{
    using namespace std::chrono;
    const sys_seconds instant{seconds{unixSeconds}};
    const sys_days date = floor<days>(instant);
    const year_month_day ymd{date};
    const hh_mm_ss<seconds> time{instant - date};
    return CalendarFields{
        .year = static_cast<std::uint16_t>(static_cast<int>(ymd.year())),
        .month = static_cast<std::uint16_t>(static_cast<unsigned>(ymd.month())),
        .day = static_cast<std::uint16_t>(static_cast<unsigned>(ymd.day())),
        .hour = static_cast<std::uint16_t>(time.hours().count()),
        .minute = static_cast<std::uint16_t>(time.minutes().count()),
        .second = static_cast<std::uint16_t>(time.seconds().count()),
    };
}

} // namespace detail

constexpr CalendarFields UtcFields(std::uint32_t serverSeconds) noexcept
{
    return detail::FieldsOfUnixSeconds(ServerSecondsToUnix(serverSeconds));
}

// Fixed UTC+9, see kLocalOffsetSeconds.
constexpr CalendarFields LocalFields(std::uint32_t serverSeconds) noexcept
{
    return detail::FieldsOfUnixSeconds(ServerSecondsToUnix(serverSeconds) + kLocalOffsetSeconds);
}

// The date-time value of the fields, taken as they are (no zone shift).
// Precondition: fields describe a real date and time within 1899-12-30 .. 9999-12-31.
constexpr TDateTime FieldsToDateTime(const CalendarFields &fields) noexcept
{
    return EncodeDateTime(fields.year, fields.month, fields.day, fields.hour, fields.minute,
                          fields.second);
}

} // namespace quorvel
