#include "app/app/keyboard_hook.h"

#include <memory>
#include <optional>
#include <vector>

#include "app/app/messages.h"
#include "app/win/failure.h"
#include "app/win/threads.h"

namespace glimmerly {
namespace {

// What the hook of one thread works on.
struct HookTarget {
    ShortcutHookState state;
    HWND window = nullptr;
};

// A low-level hook procedure gets no context argument, and the system calls
// it on the thread that installed it, inside that thread's GetMessageW. So
// the target is found through this pointer, one per thread: the hook thread
// sets it after its hook is in and clears it before the hook goes.
thread_local HookTarget* t_hook_target = nullptr;

class PostingHost final : public HookHost {
public:
    explicit PostingHost(HWND window) : window_(window) {}

    std::uint32_t modifiers() override {
        const auto down = [](int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; };
        return (down(VK_MENU) ? MOD_ALT : 0) | (down(VK_CONTROL) ? MOD_CONTROL : 0) |
               (down(VK_SHIFT) ? MOD_SHIFT : 0) | (down(VK_LWIN) || down(VK_RWIN) ? MOD_WIN : 0);
    }
    bool post_key_report(std::uint32_t key, std::uint32_t flags) override {
        return PostMessageW(window_, WM_APP_KEY_REPORT, key, static_cast<LPARAM>(flags));
    }
    // The shortcut recorder reads the combination from lParam, as the system packs it.
    bool post_hotkey(const HookSlot& slot) override {
        return PostMessageW(window_, WM_HOTKEY, static_cast<WPARAM>(slot.id),
                            MAKELPARAM(slot.modifiers, slot.key));
    }

private:
    HWND window_;
};

bool is_key_message(WPARAM message) {
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP;
}

// On the path of every key press of the desktop: it never blocks, never
// waits for another thread and allocates nothing.
LRESULT CALLBACK keyboard_hook_proc(int code, WPARAM wparam, LPARAM lparam) noexcept {
    if (code == HC_ACTION && lparam && is_key_message(wparam) && t_hook_target) {
        const auto& info = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lparam);
        const HookKeyEvent event{info.vkCode, info.scanCode, wparam == WM_KEYDOWN || wparam == WM_SYSKEYDOWN,
                                 (info.flags & LLKHF_EXTENDED) != 0, (info.flags & LLKHF_INJECTED) != 0};
        PostingHost host(t_hook_target->window);
        if (hook_swallows_key(t_hook_target->state, event, host)) return 1;
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

// The one answer of the thread to its starter, handed over under the event.
struct StartReply {
    win::UniqueHandle ready;
    std::optional<Result<DWORD>> answer;
};

void run_keyboard_hook(StartReply& reply, HWND window, const HookSlots& slots, bool report_keys) {
    auto target = std::make_unique<HookTarget>();
    target->state.slots = slots;
    target->state.report_keys = report_keys;
    target->window = window;
    MSG message;
    // The queue must exist before the thread id is handed out, or a quick
    // stop's WM_QUIT would find no queue to go to.
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    const HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, keyboard_hook_proc, GetModuleHandleW(nullptr), 0);
    if (!hook) {
        reply.answer = win::win32_failure("SetWindowsHookExW");
        SetEvent(reply.ready.get());
        return;
    }
    t_hook_target = target.get();
    reply.answer = GetCurrentThreadId();
    SetEvent(reply.ready.get());
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    t_hook_target = nullptr;
    UnhookWindowsHookEx(hook);
}

constexpr int kStopPostAttempts = 5;
constexpr DWORD kStopPostRetryMs = 20;

// Hook threads that did not stop in time, waited for once as the resident
// ends. Only the interface thread stops listeners.
std::vector<win::UniqueHandle> g_stray_listeners;

}  // namespace

ShortcutListener& ShortcutListener::operator=(ShortcutListener&& other) noexcept {
    if (this != &other) {
        stop();
        thread_ = std::move(other.thread_);
        thread_id_ = std::exchange(other.thread_id_, 0);
    }
    return *this;
}

ShortcutListener::~ShortcutListener() { stop(); }

void ShortcutListener::stop(PostThreadCall post) noexcept {
    if (!thread_) return;
    // A full queue refuses a post for a moment; the thread is never left
    // running for want of a second try.
    for (int attempt = 0; attempt < kStopPostAttempts; ++attempt) {
        if (post(thread_id_, WM_QUIT, 0, 0)) break;
        Sleep(kStopPostRetryMs);
    }
    if (WaitForSingleObject(thread_.get(), kListenerStopWaitMs) != WAIT_OBJECT_0) {
        OutputDebugStringW(L"Glimmerly: the shortcuts thread did not stop within a second; the exit waits for it\n");
        try {
            g_stray_listeners.push_back(std::move(thread_));
        } catch (...) {
            thread_.reset();  // no room to keep it: the handle goes, the thread ends with the process
        }
    }
    thread_.reset();
    thread_id_ = 0;
}

std::size_t wait_for_stray_listeners(DWORD wait_ms) noexcept {
    std::size_t running = 0;
    for (win::UniqueHandle& thread : g_stray_listeners)
        if (WaitForSingleObject(thread.get(), wait_ms) != WAIT_OBJECT_0) ++running;
    g_stray_listeners.clear();
    return running;
}

bool hook_threads_ended(const ShortcutListener& listener) noexcept {
    if (listener.running()) return false;
    for (const win::UniqueHandle& thread : g_stray_listeners)
        if (WaitForSingleObject(thread.get(), 0) != WAIT_OBJECT_0) return false;
    return true;
}

Result<ShortcutListener> start_shortcut_listener(HWND window, const HookSlots& slots, bool report_keys) {
    auto reply = std::make_shared<StartReply>();
    reply->ready.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!reply->ready) return win::win32_failure("CreateEventW");
    auto thread = win::start_named_thread(L"Glimmerly shortcuts", [reply, window, slots, report_keys] {
        run_keyboard_hook(*reply, window, slots, report_keys);
    });
    if (!thread) return std::move(thread).failure();
    // The thread either answers or ends; the event's wait also orders its
    // write of the answer before the read here.
    const HANDLE waits[] = {reply->ready.get(), thread->get()};
    WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    if (!reply->answer || !*reply->answer) {
        win::join_thread(*thread);
        if (!reply->answer) return plain_failure("receiving on a closed channel");
        return std::move(*reply->answer).failure();
    }
    return ShortcutListener(std::move(*thread), **reply->answer);
}

}  // namespace glimmerly
