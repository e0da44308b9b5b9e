#include "core/diagnostics/probe_channel.h"

#include <gtest/gtest.h>

#include <thread>

namespace glimmerly {
namespace {

TEST(ProbeChannel, AMessageSentFromAnotherThreadArrives) {
    auto [sender, receiver] = make_channel<int>();
    std::thread worker([sender = std::move(sender)]() mutable {
        int value = 7;
        (void)sender.send(value);
    });
    auto got = receive_within(receiver);
    worker.join();
    ASSERT_TRUE(got.ok());
    EXPECT_EQ(*got, 7);
}

TEST(ProbeChannel, SilenceAndAGoneSenderEndWithTheirOwnTexts) {
    auto [sender, receiver] = make_channel<int>();
    auto waited = receive_within(receiver, std::chrono::milliseconds(20));
    ASSERT_FALSE(waited.ok());
    EXPECT_EQ(waited.failure().message, "timed out waiting on channel");
    EXPECT_EQ(waited.failure().code, E_FAIL_CODE);
    { auto gone = std::move(sender); }
    auto closed = receive_within(receiver, std::chrono::milliseconds(20));
    ASSERT_FALSE(closed.ok());
    EXPECT_EQ(closed.failure().message, "channel is empty and sending half is closed");
}

TEST(ProbeChannel, AMessageSentBeforeTheSenderWentIsStillTaken) {
    auto [sender, receiver] = make_channel<int>();
    int value = 3;
    ASSERT_TRUE(sender.send(value));
    { auto gone = std::move(sender); }
    auto got = receive_within(receiver, std::chrono::milliseconds(0));
    ASSERT_TRUE(got.ok());
    EXPECT_EQ(*got, 3);
}

}  // namespace
}  // namespace glimmerly
