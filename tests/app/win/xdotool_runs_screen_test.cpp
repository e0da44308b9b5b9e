// The tests' keys and pointer moves come from xdotool runs, which Wine lets
// run on beside the test: they must still reach the display in the order
// the test started them.

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "app/win/owners.h"
#include "tests/app/presentation/presentation_fixture.h"
#include "tests/app/support/key_presses.h"
#include "tests/app/support/resident.h"

namespace glimmerly {
namespace {

using namespace testing_support;

// Wine starts a host program with no process for its starter and leaves
// in the thread's place what is no handle of this process; the runs leave
// this process's own handles (its output above all) as they were.
TEST(XdotoolRuns, ReachTheDisplayInTheOrderTheTestStartedThemAndLeaveThisProcessHandlesOpen) {
    // X hands keys to Wine only while the pointer is over a Wine window.
    const win::UniqueWindow cover =
        screen_cover_window(L"Glimmerly.Tests.XdotoolCover", static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    KeyPresses keys;
    // The first run takes its time before its key; the second types at once.
    ASSERT_EQ(run_to_end(L"Z:\\usr\\bin\\xdotool mousemove 500 400 sleep 0.5 key x"), 0) << "xdotool is missing";
    // A program of this system's own in between, as the tests run theirs
    // (without arguments it only says so).
    EXPECT_EQ(run_to_end(beside_tests(L"post_message.exe")), 3);
    ASSERT_EQ(run_to_end(L"Z:\\usr\\bin\\xdotool mousemove 500 400 key y"), 0);
    ASSERT_TRUE(wait_for_xdotool());
    EXPECT_TRUE(eventually([&] { return keys.seen().size() >= 2; }));
    EXPECT_EQ(keys.seen(), (std::vector<DWORD>{'X', 'Y'}));
    DWORD flags = 0;
    for (const DWORD stream : {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE})
        EXPECT_TRUE(GetHandleInformation(GetStdHandle(stream), &flags)) << "standard handle " << stream << " closed";
}

}  // namespace
}  // namespace glimmerly
