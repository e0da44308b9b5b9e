#include "app/lib/delayed_wake.h"

#include <gtest/gtest.h>

#include "app/app/messages.h"
#include "tests/app/support/app_window.h"

namespace glimmerly {
namespace {

using namespace testing_support;

TEST(DelayedWake, EndsOnlyALoopThatStartedIt) {
    TestAppWindow test;
    ASSERT_TRUE(start_delayed_wake().ok());
    EXPECT_TRUE(run_message_loop_bounded(test.cell(), test.window(), 15000, true).ok());
    PostThreadMessageW(GetCurrentThreadId(), WM_APP_DELAYED_WAKE, 0, 0);
    EXPECT_EQ(run_message_loop_bounded(test.cell(), test.window(), 500).failure().message, "The loop did not end");
}

}  // namespace
}  // namespace glimmerly
