#include "app/app/keyboard_hook.h"

#include <gtest/gtest.h>
#include <psapi.h>
#include <winternl.h>

#include <cstdint>
#include <vector>

#include "app/app/messages.h"
#include "app/win/system_function.h"
#include "tests/app/support/message_wait.h"
#include "tests/app/support/resident.h"

namespace glimmerly {
namespace {

using testing_support::MessageLog;

constexpr std::int32_t kCtrlF9 = 91, kCtrlShiftF9 = 92;

const HookSlots kF9Slots = {HookSlot{true, MOD_CONTROL, VK_F9, kCtrlF9},
                            HookSlot{true, MOD_CONTROL | MOD_SHIFT, VK_F9, kCtrlShiftF9}, HookSlot{}};

TEST(ShortcutListener, InstallsItsHookAndStopsItsThreadCleanlyAgainAndAgain) {
    const MessageLog log{WM_HOTKEY};
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        auto listener = start_shortcut_listener(log.window(), kF9Slots, true);
        ASSERT_TRUE(listener.ok()) << listener.failure().message;
        const win::UniqueHandle thread(OpenThread(SYNCHRONIZE, FALSE, listener->thread_id()));
        ASSERT_TRUE(thread);
        EXPECT_EQ(WaitForSingleObject(thread.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
        listener->stop();
        EXPECT_FALSE(listener->running());
        EXPECT_EQ(WaitForSingleObject(thread.get(), 0), WAIT_OBJECT_0);
    }
}

// Every key typed anywhere on the desktop waits until the hook thread has
// taken it: on a busy machine a thread of normal priority waits its turn.
TEST(ShortcutListener, TheHookThreadRunsAheadOfEveryNormalThread) {
    const MessageLog log{WM_HOTKEY};
    auto listener = start_shortcut_listener(log.window(), kF9Slots, false);
    ASSERT_TRUE(listener.ok()) << listener.failure().message;
    const win::UniqueHandle thread(OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, listener->thread_id()));
    ASSERT_TRUE(thread);
    EXPECT_EQ(GetThreadPriority(thread.get()), THREAD_PRIORITY_TIME_CRITICAL);
}

// The stack of a thread of this process, as its thread environment block
// tells it: from the lowest committed address up to its base.
struct ThreadStack {
    std::uintptr_t limit = 0, base = 0;
};

ThreadStack stack_of(HANDLE thread) {
    struct BasicInformation {  // THREAD_BASIC_INFORMATION, which the headers leave out
        NTSTATUS exit_status;
        void* teb;
        CLIENT_ID client;
        ULONG_PTR affinity;
        LONG priority, base_priority;
    } basics{};
    using Query = NTSTATUS(NTAPI*)(HANDLE, THREADINFOCLASS, void*, ULONG, ULONG*);
    const auto query = win::system_function_as<Query>(L"ntdll.dll", "NtQueryInformationThread");
    if (!query || query(thread, ThreadBasicInformation, &basics, sizeof basics, nullptr) < 0 || !basics.teb) return {};
    const auto* tib = static_cast<const NT_TIB*>(basics.teb);
    return {reinterpret_cast<std::uintptr_t>(tib->StackLimit), reinterpret_cast<std::uintptr_t>(tib->StackBase)};
}

// The hook thread is all the idle resident's memory that the hook costs:
// its stack is a small reservation, and little of it stays in memory (under
// Wine a new thread starts with about 1 MiB of its stack written).
TEST(ShortcutListener, TheHookThreadReservesLittleStackAndKeepsLittleOfItInMemory) {
    constexpr std::size_t kPage = 4096;
    const MessageLog log{WM_HOTKEY};
    auto listener = start_shortcut_listener(log.window(), kF9Slots, false);
    ASSERT_TRUE(listener.ok()) << listener.failure().message;
    const win::UniqueHandle thread(OpenThread(THREAD_QUERY_INFORMATION, FALSE, listener->thread_id()));
    ASSERT_TRUE(thread);
    const ThreadStack stack = stack_of(thread.get());
    ASSERT_LT(stack.limit, stack.base);
    MEMORY_BASIC_INFORMATION region{};
    ASSERT_TRUE(VirtualQuery(reinterpret_cast<void*>(stack.limit), &region, sizeof region));
    // Wine gives no thread less than 1 MiB; the program's default is 2 MiB.
    EXPECT_LE(stack.base - reinterpret_cast<std::uintptr_t>(region.AllocationBase), std::uintptr_t{1} << 20);

    std::vector<PSAPI_WORKING_SET_EX_INFORMATION> pages;
    for (std::uintptr_t page = stack.limit; page < stack.base; page += kPage)
        pages.push_back({.VirtualAddress = reinterpret_cast<void*>(page)});
    ASSERT_TRUE(QueryWorkingSetEx(GetCurrentProcess(), pages.data(),
                                  static_cast<DWORD>(pages.size() * sizeof(pages[0]))));
    std::size_t in_memory = 0;
    for (const auto& page : pages) in_memory += page.VirtualAttributes.Valid;
    EXPECT_LE(in_memory * kPage, 64u * 1024) << "of " << pages.size() * kPage / 1024 << " KiB committed";
}

BOOL WINAPI refuse_post(DWORD, UINT, WPARAM, LPARAM) { return FALSE; }

TEST(ShortcutListener, AThreadThatOutlivesItsStopStillCountsUntilItEnds) {
    const MessageLog log{WM_HOTKEY};
    auto listener = start_shortcut_listener(log.window(), kF9Slots, false);
    ASSERT_TRUE(listener.ok()) << listener.failure().message;
    const DWORD id = listener->thread_id();
    const win::UniqueHandle thread(OpenThread(SYNCHRONIZE, FALSE, id));
    ASSERT_TRUE(thread);
    EXPECT_FALSE(hook_threads_ended(*listener));
    // The quit never arrives: the stop gives up after its wait and moves the thread aside.
    listener->stop(refuse_post);
    EXPECT_FALSE(listener->running());
    EXPECT_FALSE(hook_threads_ended(*listener));
    ASSERT_TRUE(PostThreadMessageW(id, WM_QUIT, 0, 0));
    ASSERT_EQ(WaitForSingleObject(thread.get(), 30000), WAIT_OBJECT_0);
    EXPECT_TRUE(hook_threads_ended(*listener));
    EXPECT_EQ(wait_for_stray_listeners(0), 0u);
}

TEST(ShortcutListener, ATypedShortcutReachesTheWindowAsAHotkeyAfterItsKeyReport) {
    const MessageLog log{WM_HOTKEY, WM_APP_KEY_REPORT};
    auto listener = start_shortcut_listener(log.window(), kF9Slots, true);
    ASSERT_TRUE(listener.ok()) << listener.failure().message;
    // Typed keys go to the window under the pointer, which must be Wine's.
    const win::UniqueWindow landing(CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 100, 100, 300, 200,
                                                    nullptr, nullptr, nullptr, nullptr));
    ShowWindow(landing.get(), SW_SHOWNOACTIVATE);
    UpdateWindow(landing.get());

    // xdotool, a program of the host that Wine runs as it is, types on this
    // session's X display: real input, not injected. Wine hands back no
    // process to wait for, so the test waits for what the keys bring.
    ASSERT_EQ(
        testing_support::run_to_end(L"Z:\\usr\\bin\\xdotool mousemove 250 200 key ctrl+shift+F9 key ctrl+F9"), 0)
        << "xdotool is missing";
    ASSERT_TRUE(log.wait_past(WM_HOTKEY, 1));
    std::vector<WPARAM> hotkeys;
    bool f9_reported_first = false;
    for (const auto& [message, wparam] : log.entries()) {
        if (message == WM_HOTKEY) hotkeys.push_back(wparam);
        if (message == WM_APP_KEY_REPORT && wparam == VK_F9 && hotkeys.empty()) f9_reported_first = true;
    }
    // Each combination takes only the slot of exactly its modifiers.
    EXPECT_EQ(hotkeys, (std::vector<WPARAM>{kCtrlShiftF9, kCtrlF9}));
    EXPECT_TRUE(f9_reported_first);
}

}  // namespace
}  // namespace glimmerly
