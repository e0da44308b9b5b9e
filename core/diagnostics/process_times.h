#pragma once
// Whose processor time the system reports for another process. Wine 8
// answers GetProcessTimes on any other process with the caller's own times,
// so a child's figure is only the child's where the platform shows it is.
// The caller spends time of its own while the other process waits; the two
// readings then tell which it was, or that they cannot tell.

#include <cstdint>

namespace glimmerly {

enum class TimesOwner {
    Other,    // the other process's own times: it stood still while the caller spent
    Caller,   // the caller's times again: they moved with the caller's
    Unknown,  // the caller did not spend clearly enough, or the other moved in between
};

// Kernel plus user time in 100 ns units, read in this order: own, other,
// (the caller spends), own, other.
struct TimesReadings {
    std::uint64_t own_before = 0;
    std::uint64_t other_before = 0;
    std::uint64_t own_after = 0;
    std::uint64_t other_after = 0;
};

// The caller spends at least this much: ten steps of the coarsest clock
// behind the figures (10 to 16 ms), so that its movement cannot be one step.
inline constexpr std::uint64_t kClearOwnTicks = 100 * 10000;  // 100 ms

TimesOwner times_owner(const TimesReadings& readings);

}  // namespace glimmerly
