#include "core/diagnostics/process_times.h"

namespace glimmerly {

TimesOwner times_owner(const TimesReadings& r) {
    // Processor times never go back; readings that did are no evidence.
    if (r.own_after < r.own_before || r.other_after < r.other_before) return TimesOwner::Unknown;
    const std::uint64_t own = r.own_after - r.own_before;
    const std::uint64_t other = r.other_after - r.other_before;
    // A caller held off the processor (a loaded machine) spent nothing to
    // compare with: a still other process proves nothing then.
    if (own < kClearOwnTicks) return TimesOwner::Unknown;
    // The other process waits: a quarter of the caller's spending is
    // far above what it burns, and far below what the caller's times show.
    if (other * 4 <= own) return TimesOwner::Other;
    // The same times read at nearly the same moments: within a factor two.
    if (other * 2 >= own && other <= own * 2) return TimesOwner::Caller;
    return TimesOwner::Unknown;
}

}  // namespace glimmerly
