#pragma once
// The "Glimmerly shortcuts" thread: a low-level keyboard hook for shortcuts
// that could not be registered (another program holds the combination) and
// for the keys display, which needs every key of every program. A matched
// shortcut reaches the window as WM_HOTKEY with the slot's id, exactly as a
// registered one would; with key reports on, every typed key also arrives as
// WM_APP_KEY_REPORT.
//
// The presentation mode starts a listener with its slots and stops it (by
// dropping it, or with stop_shortcut_listener) whenever they change.

#include <windows.h>

#include "app/win/owners.h"
#include "core/base/result.h"
#include "core/shortcuts/shortcut_hook.h"

namespace glimmerly {

// PostThreadMessageW, or a stand-in through which a test refuses the post.
using PostThreadCall = BOOL(WINAPI*)(DWORD thread_id, UINT message, WPARAM wparam, LPARAM lparam);

// How long a stop waits for the thread before leaving it to the exit.
inline constexpr DWORD kListenerStopWaitMs = 1000;

// A running hook thread; dropping it stops the thread and waits for it.
class ShortcutListener {
public:
    ShortcutListener() = default;
    ShortcutListener(win::UniqueHandle thread, DWORD thread_id) : thread_(std::move(thread)), thread_id_(thread_id) {}
    ShortcutListener(ShortcutListener&&) noexcept = default;
    ShortcutListener& operator=(ShortcutListener&& other) noexcept;
    ShortcutListener(const ShortcutListener&) = delete;
    ShortcutListener& operator=(const ShortcutListener&) = delete;
    ~ShortcutListener();

    bool running() const { return thread_.valid(); }
    DWORD thread_id() const { return thread_id_; }
    // Ends the thread's message loop (the hook goes with it) and waits for
    // it, at most about a second: a thread that has not ended by then is
    // kept for the exit to wait on (one line in the debug log says so), so
    // that the interface thread never hangs on it.
    void stop(PostThreadCall post = PostThreadMessageW) noexcept;

private:
    win::UniqueHandle thread_;
    DWORD thread_id_ = 0;
};

// Starts the thread and returns once its hook is installed. A hook the
// system refuses is that failure, and no thread is left running.
Result<ShortcutListener> start_shortcut_listener(HWND window, const HookSlots& slots, bool report_keys);

inline void stop_shortcut_listener(ShortcutListener& listener) noexcept { listener.stop(); }

// Waits, boundedly, for the hook threads that a stop left behind; called as
// the resident ends. Answers how many had still not ended.
std::size_t wait_for_stray_listeners(DWORD wait_ms = kListenerStopWaitMs) noexcept;

// Whether the listener holds no thread and every hook thread a stop left
// behind has ended: a thread moved aside is still a hook on the keyboard.
bool hook_threads_ended(const ShortcutListener& listener) noexcept;

}  // namespace glimmerly
