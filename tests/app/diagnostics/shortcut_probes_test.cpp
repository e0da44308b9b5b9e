// The probe threads of "--presentation-diagnostic": a combination held by
// the shortcut probe is refused to everyone else until the probe lets it
// go, by the release message or by itself after its wait; the release probe
// names a combination still held; the collision probe never waits without
// a limit for a probe that does not answer.

#include <gtest/gtest.h>

#include <windows.h>

#include "app/diagnostics/shortcut_probes.h"

namespace glimmerly {
namespace {

// F12 stays out of the diagnostic's own search (F1 to F11).
constexpr UINT kHeldKey = VK_F12;

bool can_register(UINT key) {
    if (!RegisterHotKey(nullptr, 321, kDiagnosticModifiers, key)) return false;
    UnregisterHotKey(nullptr, 321);
    return true;
}

struct HeldCombination {
    ChannelReceiver<Status> outcome;
    ChannelSender<ProbeRelease> release;
    std::unique_ptr<ProbeThread<bool>> thread;
};

HeldCombination hold(UINT key, std::chrono::milliseconds wait) {
    auto [outcome_sender, outcome_receiver] = make_channel<Status>();
    auto [release_sender, release_receiver] = make_channel<ProbeRelease>();
    auto thread = std::make_unique<ProbeThread<bool>>(
        [input = ShortcutProbeInput{kDiagnosticModifiers, key, std::move(outcome_sender), std::move(release_receiver),
                                    wait}]() mutable {
            run_shortcut_probe(std::move(input));
            return true;
        });
    return {std::move(outcome_receiver), std::move(release_sender), std::move(thread)};
}

TEST(ShortcutProbe, HoldsTheCombinationUntilReleasedThenGivesItBack) {
    HeldCombination held = hold(kHeldKey, kProbeChannelWait);
    auto outcome = receive_within(held.outcome);
    ASSERT_TRUE(outcome.ok()) << outcome.failure().message;
    EXPECT_TRUE(outcome->ok());
    const BOOL taken = RegisterHotKey(nullptr, 321, kDiagnosticModifiers, kHeldKey);
    const DWORD error = GetLastError();
    EXPECT_FALSE(taken);
    EXPECT_EQ(error, 1409u);
    ProbeRelease release;
    ASSERT_TRUE(held.release.send(release));
    EXPECT_TRUE(held.thread->join().value_or(false));
    EXPECT_TRUE(can_register(kHeldKey));
}

TEST(ShortcutProbe, AProbeNeverReleasedGivesTheCombinationBackAfterItsWait) {
    HeldCombination held = hold(kHeldKey, kProbeChannelWait);
    ASSERT_TRUE(receive_within(held.outcome).ok());
    EXPECT_FALSE(can_register(kHeldKey));
    // The release end stays open and silent: only the probe's own wait ends it.
    EXPECT_TRUE(held.thread->join().value_or(false));
    EXPECT_TRUE(can_register(kHeldKey));
}

TEST(ShortcutProbe, ASecondProbeOnAHeldCombinationReportsTheRefusal) {
    HeldCombination first = hold(kHeldKey, kProbeChannelWait);
    ASSERT_TRUE(receive_within(first.outcome).ok());
    HeldCombination second = hold(kHeldKey, std::chrono::milliseconds(0));
    auto refused = receive_within(second.outcome);
    ASSERT_TRUE(refused.ok());
    ASSERT_FALSE(refused->ok());
    EXPECT_EQ(static_cast<std::uint32_t>(refused->failure().code), 0x80070581u);
    ProbeRelease release;
    (void)first.release.send(release);
}

TEST(CollisionProbe, FailsWithTheChannelTextsInsteadOfWaitingForever) {
    PresentationState record;
    {
        auto [sender, receiver] = make_channel<Status>();
        Status waited = run_collision_probe(receiver, {.pointer_effects = true}, record);
        ASSERT_FALSE(waited);
        EXPECT_EQ(waited.failure().message, "timed out waiting on channel");
    }
    auto [sender, receiver] = make_channel<Status>();
    { auto gone = std::move(sender); }
    Status closed = run_collision_probe(receiver, {.pointer_effects = true}, record);
    ASSERT_FALSE(closed);
    EXPECT_EQ(closed.failure().message, "channel is empty and sending half is closed");
}

TEST(ReleaseProbe, NamesACombinationThatIsStillHeld) {
    const std::vector<UINT> keys = {VK_F9, VK_F10, VK_F11, kHeldKey};
    EXPECT_TRUE(run_release_probe(keys, kDiagnosticModifiers).ok());
    HeldCombination held = hold(kHeldKey, kProbeChannelWait);
    ASSERT_TRUE(receive_within(held.outcome).ok());
    ProbeThread<Status> probe([keys] { return run_release_probe(keys, kDiagnosticModifiers); });
    auto result = probe.join();
    ASSERT_TRUE(result.has_value());
    ASSERT_FALSE(*result);
    EXPECT_EQ(static_cast<std::uint32_t>(result->failure().code), 0x80070581u);
    ProbeRelease release;
    (void)held.release.send(release);
}

TEST(ProbeThread, AnEscapingExceptionIsTheAbnormalEnd) {
    ProbeThread<Status> probe([]() -> Status { throw std::runtime_error("fault"); });
    EXPECT_FALSE(probe.join().has_value());
    EXPECT_EQ(release_probe_panicked().message, "Shortcut release probe panicked");
    EXPECT_EQ(shortcut_probe_panicked().message, "Shortcut probe thread panicked");
}

}  // namespace
}  // namespace glimmerly
