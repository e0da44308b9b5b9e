#pragma once
// The keys pressed on the desktop, in order, as a low-level hook on a thread
// of its own sees them: what reached the system, whichever program it went
// to. A test that types with xdotool tells by it a key Wine dropped on its
// way from the display (never seen here) from one a program failed to act on.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include "app/win/owners.h"

namespace glimmerly::testing_support {

class KeyPresses {
public:
    KeyPresses() : thread_([this] { run(); }) { WaitForSingleObject(ready_.get(), INFINITE); }
    KeyPresses(const KeyPresses&) = delete;
    KeyPresses& operator=(const KeyPresses&) = delete;
    ~KeyPresses() {
        PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
        thread_.join();
    }
    // Says on standard error that a combination is typed again, with what
    // the system saw of it, so that a run's log shows each time Wine lost one.
    void report_typed_again(const char* combination) {
        const std::lock_guard lock(mutex_);
        std::fprintf(stderr, "%s never reached the system whole (keys seen:", combination);
        for (std::size_t i = 0; i < seen_.size(); ++i)
            std::fprintf(stderr, " %02lx%s", seen_[i], (flags_[i] & LLKHF_ALTDOWN) ? "+alt" : "");
        std::fprintf(stderr, "); typed again\n");
    }
    std::vector<DWORD> seen() {
        const std::lock_guard lock(mutex_);
        return seen_;
    }
    bool saw(DWORD key) {
        const std::lock_guard lock(mutex_);
        return std::find(seen_.begin(), seen_.end(), key) != seen_.end();
    }
    // Whether `key` went down while the system held Alt down: a combination
    // whose Alt Wine forgot (it lets go of the keys it finds down when its
    // desktop reads the key map after a change of focus) comes without.
    bool saw_with_alt(DWORD key) {
        const std::lock_guard lock(mutex_);
        for (std::size_t i = 0; i < seen_.size(); ++i)
            if (seen_[i] == key && (flags_[i] & LLKHF_ALTDOWN)) return true;
        return false;
    }

private:
    // A low-level hook has no context argument: this is the one listener.
    static inline KeyPresses* listener_ = nullptr;

    static LRESULT CALLBACK hook(int code, WPARAM message, LPARAM info) noexcept {
        if (code == HC_ACTION && (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && listener_) {
            const std::lock_guard lock(listener_->mutex_);
            const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(info);
            listener_->seen_.push_back(key->vkCode);
            listener_->flags_.push_back(key->flags);
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
    std::vector<DWORD> seen_, flags_;
    std::thread thread_;
};

}  // namespace glimmerly::testing_support
