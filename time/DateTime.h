#pragma once

// The date-time value the rest of the program works with: a day count with the time of
// day as its fraction. Plain C++, no I/O.

#include <cassert>
#include <chrono>
#include <cstdint>

namespace quorvel {

// Integer part: days since 1899-12-30 (day 0). Fraction: elapsed part of that day.
// Holds local time, proleptic Gregorian calendar.
// Supported range: [0, 2958466), i.e. 1899-12-30 00:00:00.000 .. 9999-12-31 23:59:59.999.
using TDateTime = double;

struct DateTimeFields
{
    int year;             // 1899 .. 9999
    unsigned month;       // 1 .. 12
    unsigned day;         // 1 .. 31
    unsigned hour;        // 0 .. 23
    unsigned minute;      // 0 .. 59
    unsigned second;      // 0 .. 59
    unsigned millisecond; // 0 .. 999

    bool operator==(const DateTimeFields &) const = default;
};

inline constexpr std::int64_t kSecondsPerDay = 86'400;
inline constexpr std::int64_t kMillisecondsPerDay = 86'400'000;
static_assert(std::chrono::seconds{std::chrono::days{1}}.count() == kSecondsPerDay);
static_assert(std::chrono::milliseconds{std::chrono::days{1}}.count() == kMillisecondsPerDay);

inline constexpr std::chrono::sys_days kDateTimeDayZero =
    std::chrono::year{1899} / std::chrono::December / 30;
inline constexpr std::chrono::sys_days kLastSupportedDay =
    std::chrono::year{9999} / std::chrono::December / 31;

// Days since 1899-12-30; negative before it.
// Precondition: date.ok()
constexpr std::int64_t DayNumber(std::chrono::year_month_day date) noexcept
{
    assert(date.ok());
    return (std::chrono::sys_days{date} - kDateTimeDayZero).count();
}

// Inverse of DayNumber.
constexpr std::chrono::year_month_day DateOfDayNumber(std::int64_t dayNumber) noexcept
{
    return std::chrono::year_month_day{kDateTimeDayZero + std::chrono::days{dayNumber}};
}

inline constexpr TDateTime kUnixEpochDateTime = 25569;

static_assert(DayNumber(std::chrono::year{1899} / std::chrono::December / 30) == 0);
static_assert(DayNumber(std::chrono::year{1900} / std::chrono::January / 1) == 2);
static_assert(DayNumber(std::chrono::year{1970} / std::chrono::January / 1) == kUnixEpochDateTime);
static_assert(DayNumber(std::chrono::year_month_day{kLastSupportedDay}) == 2'958'465);
static_assert(DateOfDayNumber(2) == std::chrono::year{1900} / std::chrono::January / 1);

// Preconditions: 1899-12-30 <= year/month/day <= 9999-12-31 and a real calendar date,
//                hour < 24, minute < 60, second < 60, millisecond < 1000.
constexpr TDateTime EncodeDateTime(int year, unsigned month, unsigned day, unsigned hour,
                                   unsigned minute, unsigned second,
                                   unsigned millisecond = 0) noexcept
{
    using namespace std::chrono;
    const year_month_day date{std::chrono::year{year}, std::chrono::month{month},
                              std::chrono::day{day}};
    assert(date.ok());
    assert(sys_days{date} >= kDateTimeDayZero && sys_days{date} <= kLastSupportedDay);
    assert(hours{hour} < days{1} && minutes{minute} < hours{1});
    assert(seconds{second} < minutes{1} && milliseconds{millisecond} < seconds{1});

    const milliseconds timeOfDay =
        hours{hour} + minutes{minute} + seconds{second} + milliseconds{millisecond};
    return static_cast<TDateTime>(DayNumber(date)) +
           static_cast<TDateTime>(timeOfDay.count()) / static_cast<TDateTime>(kMillisecondsPerDay);
}

// Rounds to the nearest millisecond before splitting into date and time, so a value a hair
// below midnight reads as the next day's 00:00:00.000 rather than 23:59:59.999 or 24:00.
// Precondition: 0 <= value < 2958466, i.e. 1899-12-30 .. 9999-12-31.
DateTimeFields DecodeDateTime(TDateTime value) noexcept;

} // namespace quorvel
