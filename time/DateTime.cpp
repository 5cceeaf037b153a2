#include "DateTime.h"

#include <cmath>

namespace quorvel {

DateTimeFields DecodeDateTime(TDateTime value) noexcept
{
    using namespace std::chrono;
    [[maybe_unused]] constexpr auto kEndOfRange =
        static_cast<TDateTime>(DayNumber(year_month_day{kLastSupportedDay + days{1}}));
    assert(value >= 0 && value < kEndOfRange);

    // Up to ~2.6e14 ms over the supported range: the product still resolves 1/32 ms.
    const std::int64_t totalMs = std::llround(value * static_cast<TDateTime>(kMillisecondsPerDay));
    const std::int64_t dayNumber = totalMs / kMillisecondsPerDay;
    const hh_mm_ss<milliseconds> time{milliseconds{totalMs % kMillisecondsPerDay}};
    const year_month_day date = DateOfDayNumber(dayNumber);

    return DateTimeFields{
        .year = static_cast<int>(date.year()),
        .month = static_cast<unsigned>(date.month()),
        .day = static_cast<unsigned>(date.day()),
        .hour = static_cast<unsigned>(time.hours().count()),
        .minute = static_cast<unsigned>(time.minutes().count()),
        .second = static_cast<unsigned>(time.seconds().count()),
        .millisecond = static_cast<unsigned>(time.subseconds().count()),
    };
}

} // namespace quorvel
