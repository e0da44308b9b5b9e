#include "app/board/bake/restore.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

// Neither answer may wait for the desktop: the resident's timer asks them.
TEST(BoardNeedsBake, AHiddenBoardNeverAndARequestedBakeAlwaysWithoutTheDesktop) {
    const auto hidden = board_needs_bake(false, true);
    ASSERT_TRUE(hidden.ok());
    EXPECT_FALSE(*hidden);
    const auto requested = board_needs_bake(true, true);
    ASSERT_TRUE(requested.ok());
    EXPECT_TRUE(*requested);
}

}  // namespace
}  // namespace glimmerly
