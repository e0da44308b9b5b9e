#include "core/diagnostics/process_times.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

constexpr std::uint64_t kMs = 10000;

TEST(TimesOwner, AWaitingProcessIsTheOthersOnlyWhenTheCallerClearlySpentAndItStoodStill) {
    struct Row {
        const char* name;
        TimesReadings readings;
        TimesOwner owner;
    };
    const Row rows[] = {
        {"the other stood still while the caller spent", {5000 * kMs, 40 * kMs, 5120 * kMs, 40 * kMs},
         TimesOwner::Other},
        {"the other ticked once while the caller spent", {5000 * kMs, 40 * kMs, 5120 * kMs, 56 * kMs},
         TimesOwner::Other},
        {"the other moved with the caller, to the tick", {5000 * kMs, 5000 * kMs, 5100 * kMs, 5100 * kMs},
         TimesOwner::Caller},
        {"the other moved with the caller, a step apart", {5000 * kMs, 5010 * kMs, 5100 * kMs, 5110 * kMs},
         TimesOwner::Caller},
        {"the caller never ran: both stood still", {5000 * kMs, 40 * kMs, 5000 * kMs, 40 * kMs},
         TimesOwner::Unknown},
        {"the caller ran one clock step only", {5000 * kMs, 40 * kMs, 5016 * kMs, 40 * kMs}, TimesOwner::Unknown},
        {"the other spent a third of the caller's", {5000 * kMs, 40 * kMs, 5150 * kMs, 90 * kMs},
         TimesOwner::Unknown},
        {"the other spent thrice the caller's", {5000 * kMs, 40 * kMs, 5100 * kMs, 340 * kMs},
         TimesOwner::Unknown},
        {"the caller's times went back", {5100 * kMs, 40 * kMs, 5000 * kMs, 40 * kMs}, TimesOwner::Unknown},
        {"the other's times went back", {5000 * kMs, 90 * kMs, 5200 * kMs, 40 * kMs}, TimesOwner::Unknown},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(times_owner(row.readings), row.owner);
    }
}

}  // namespace
}  // namespace glimmerly
