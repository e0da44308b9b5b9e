#include "app/app/keyboard_hook.h"

#include <algorithm>
#include <cstdint>
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
// the target is found through a pointer in this slot, one per thread: the
// hook thread sets it after its hook is in and clears it before the hook
// goes. A slot of the system's rather than a thread_local: this toolchain
// emulates thread_local storage with a lookup that takes a lock, and the
// hook is on the path of every key typed anywhere on the desktop.
struct TargetSlot {
    DWORD index = TlsAlloc();
    DWORD error = index == TLS_OUT_OF_INDEXES ? GetLastError() : 0;
};
const TargetSlot g_target_slot;

HookTarget* hook_target() { return static_cast<HookTarget*>(TlsGetValue(g_target_slot.index)); }

// The thread runs the hook, the system's call of it inside GetMessageW and
// other modules' thread notifications, and nothing deeper: a small part of
// the program's default reservation (2 MiB) is room enough.
constexpr SIZE_T kHookStackReserve = 256 * 1024;

HANDLE WINAPI create_hook_thread(LPSECURITY_ATTRIBUTES attributes, SIZE_T, LPTHREAD_START_ROUTINE start,
                                 LPVOID parameter, DWORD flags, LPDWORD id) {
    return CreateThread(attributes, kHookStackReserve, start, parameter, flags | STACK_SIZE_PARAM_IS_A_RESERVATION,
                        id);
}

// What stays in memory below the frame that starts the hook's loop: the
// loop, the system's call of the hook and the hook itself use a few KiB.
constexpr std::uintptr_t kStackKeptBelowLoop = 16 * 1024;
constexpr std::uintptr_t kPageSize = 4096;

// Wine (8) writes about 1 MiB of every new thread's stack as the thread
// starts, whatever its reservation (measured: 964 KiB a thread), which
// would make the idle resident 1 MiB larger for this thread alone. The
// committed pages below the loop's frame are handed back: they stay
// committed, so a deeper call later takes fresh ones. The guard pages are
// left as they are. On Windows the committed part of a new thread's stack is
// a page or two, and this finds nothing to hand back.
void hand_back_unused_stack() noexcept {
    MEMORY_BASIC_INFORMATION region{};
    if (!VirtualQuery(&region, &region, sizeof region)) return;
    const auto here = reinterpret_cast<std::uintptr_t>(&region);
    const std::uintptr_t high = (here - kStackKeptBelowLoop) & ~(kPageSize - 1);
    for (auto at = reinterpret_cast<std::uintptr_t>(region.AllocationBase); at < high;) {
        if (!VirtualQuery(reinterpret_cast<void*>(at), &region, sizeof region)) return;
        const std::uintptr_t end =
            std::min(reinterpret_cast<std::uintptr_t>(region.BaseAddress) + region.RegionSize, high);
        // Only a hint: a refusal leaves the pages as they were.
        if (region.State == MEM_COMMIT && region.Protect == PAGE_READWRITE)
            (void)VirtualAlloc(reinterpret_cast<void*>(at), end - at, MEM_RESET, PAGE_READWRITE);
        at = end;
    }
}

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
    HookTarget* target = nullptr;
    if (code == HC_ACTION && lparam && is_key_message(wparam) && (target = hook_target())) {
        const auto& info = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lparam);
        const HookKeyEvent event{info.vkCode, info.scanCode, wparam == WM_KEYDOWN || wparam == WM_SYSKEYDOWN,
                                 (info.flags & LLKHF_EXTENDED) != 0, (info.flags & LLKHF_INJECTED) != 0};
        PostingHost host(target->window);
        if (hook_swallows_key(target->state, event, host)) return 1;
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

// The one answer of the thread to its starter, handed over under the event.
struct StartReply {
    win::UniqueHandle ready;
    std::optional<Result<DWORD>> answer;
};

void run_keyboard_hook(StartReply& reply, HWND window, const HookSlots& slots, bool report_keys) {
    // Every key typed anywhere waits until this thread has taken it from its
    // queue: at normal priority it would wait behind every busy thread of
    // the machine for its turn, and the system drops a hook that answers
    // too late. A refusal leaves the hook working, only later.
    (void)SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    hand_back_unused_stack();
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
    if (!TlsSetValue(g_target_slot.index, target.get())) {
        reply.answer = win::win32_failure("TlsSetValue");
        UnhookWindowsHookEx(hook);
        SetEvent(reply.ready.get());
        return;
    }
    reply.answer = GetCurrentThreadId();
    SetEvent(reply.ready.get());
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    TlsSetValue(g_target_slot.index, nullptr);
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
    if (g_target_slot.index == TLS_OUT_OF_INDEXES) return win::win32_failure_code(g_target_slot.error, "TlsAlloc");
    auto reply = std::make_shared<StartReply>();
    reply->ready.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!reply->ready) return win::win32_failure("CreateEventW");
    auto thread = win::start_named_thread(
        L"Glimmerly shortcuts",
        [reply, window, slots, report_keys] { run_keyboard_hook(*reply, window, slots, report_keys); },
        create_hook_thread);
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
