// The tests' keys and pointer moves come from xdotool runs, which Wine lets
// run on beside the test: they must still reach the display in the order
// the test started them.

#include <gtest/gtest.h>
#include <windows.h>

#include <mutex>
#include <thread>
#include <vector>

#include "app/win/owners.h"
#include "tests/app/presentation/presentation_fixture.h"
#include "tests/app/support/resident.h"

namespace glimmerly {
namespace {

using namespace testing_support;

// The keys pressed on the desktop, in order, as a low-level hook on a thread
// of its own sees them.
class KeyPresses {
public:
    KeyPresses() : thread_([this] { run(); }) { WaitForSingleObject(ready_.get(), INFINITE); }
    KeyPresses(const KeyPresses&) = delete;
    KeyPresses& operator=(const KeyPresses&) = delete;
    ~KeyPresses() {
        PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
        thread_.join();
    }
    std::vector<DWORD> seen() {
        const std::lock_guard lock(mutex_);
        return seen_;
    }

private:
    // A low-level hook has no context argument: this is the one listener.
    static inline KeyPresses* listener_ = nullptr;

    static LRESULT CALLBACK hook(int code, WPARAM message, LPARAM info) noexcept {
        if (code == HC_ACTION && (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && listener_) {
            const std::lock_guard lock(listener_->mutex_);
            listener_->seen_.push_back(reinterpret_cast<const KBDLLHOOKSTRUCT*>(info)->vkCode);
        }
        return CallNextHookEx(nullptr, code, message, info);
    }
    void run() {
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the queue for the quit
        thread_id_ = GetCurrentThreadId();
        listener_ = this;
        const HHOOK installed = SetWindowsHookExW(WH_KEYBOARD_LL, hook, GetModuleHandleW(nullptr), 0);
        SetEvent(ready_.get());
        while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
        if (installed) UnhookWindowsHookEx(installed);
        listener_ = nullptr;
    }

    win::UniqueHandle ready_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    DWORD thread_id_ = 0;
    std::mutex mutex_;
    std::vector<DWORD> seen_;
    std::thread thread_;
};

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
