#pragma once
// Waiting on the test's own thread for something its windows will be told:
// messages are dispatched while waiting. The limit only keeps a broken run
// from hanging; a test asserts on what arrived, never on how long it took.

#include <windows.h>

#include <functional>

#include "app/win/owners.h"

namespace glimmerly::testing_support {

inline bool pump_until(const std::function<bool()>& done, ULONGLONG limit_ms = 30000) {
    MSG message;
    for (const ULONGLONG end = GetTickCount64() + limit_ms; !done();) {
        if (GetTickCount64() >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return true;
}

// A message-only window that counts one message, as the application window
// would receive it, and keeps the last wParam.
class MessageCounter {
public:
    explicit MessageCounter(UINT message) : message_(message) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"Glimmerly.Tests.MessageCounter";
        RegisterClassW(&wc);
        window_.reset(CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                                      nullptr));
        SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    MessageCounter(const MessageCounter&) = delete;
    MessageCounter& operator=(const MessageCounter&) = delete;

    HWND window() const { return window_.get(); }
    int count() const { return count_; }
    WPARAM last_wparam() const { return last_wparam_; }
    // Waits for the count to pass `seen`.
    bool wait_past(int seen) const { return pump_until([&] { return count_ > seen; }); }

private:
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM w, LPARAM l) noexcept {
        auto* self = reinterpret_cast<MessageCounter*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && message == self->message_) {
            ++self->count_;
            self->last_wparam_ = w;
        }
        return DefWindowProcW(window, message, w, l);
    }

    UINT message_;
    win::UniqueWindow window_;
    int count_ = 0;
    WPARAM last_wparam_ = 0;
};

}  // namespace glimmerly::testing_support
