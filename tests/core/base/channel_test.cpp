#include "core/base/channel.h"

#include <gtest/gtest.h>

#include <memory>

namespace glimmerly {
namespace {

TEST(Channel, HandsValuesOverInOrderAndTellsAGoneEndFromAnEmptyOne) {
    auto [sender, receiver] = make_channel<std::unique_ptr<int>>();
    EXPECT_TRUE(std::holds_alternative<ChannelEmpty>(receiver.try_receive()));
    auto one = std::make_unique<int>(1), two = std::make_unique<int>(2);
    ASSERT_TRUE(sender.send(one));
    ASSERT_TRUE(sender.send(two));
    { auto dropped = std::move(sender); }
    auto first = receiver.try_receive();
    ASSERT_EQ(first.index(), 2u);
    EXPECT_EQ(*std::get<2>(first), 1);
    EXPECT_EQ(*std::get<2>(receiver.try_receive()), 2);
    EXPECT_TRUE(std::holds_alternative<ChannelDisconnected>(receiver.try_receive()));
}

TEST(Channel, ASendAfterTheReceiverIsGoneFailsAndLeavesTheValueWithTheSender) {
    auto [sender, receiver] = make_channel<std::unique_ptr<int>>();
    { auto dropped = std::move(receiver); }
    auto value = std::make_unique<int>(7);
    EXPECT_FALSE(sender.send(value));
    ASSERT_TRUE(value);
    EXPECT_EQ(*value, 7);
}

}  // namespace
}  // namespace glimmerly
