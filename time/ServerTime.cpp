#include "ServerTime.h"

// Compile-time checks of the era edges; the unit tests cover the rest.
namespace quorvel {
namespace {

constexpr std::uint32_t kLastSecondOfFirstEra = 0xFFFF'FFFF;
constexpr std::uint32_t kLastSecondOfSecondEra = 0x7FFF'FFFF;

static_assert(UtcFields(kFirstEraFlag) == CalendarFields{1968, 1, 20, 3, 14, 8});
static_assert(UtcFields(kLastSecondOfFirstEra) == CalendarFields{2036, 2, 7, 6, 28, 15});
static_assert(UtcFields(0) == CalendarFields{2036, 2, 7, 6, 28, 16});
static_assert(UtcFields(kLastSecondOfSecondEra) == CalendarFields{2104, 2, 26, 9, 42, 23});
static_assert(ServerSecondsToUnix(0) - ServerSecondsToUnix(kLastSecondOfFirstEra) == 1);

} // namespace
} // namespace quorvel
