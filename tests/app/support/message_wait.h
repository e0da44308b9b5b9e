#pragma once
// A message-only window that keeps, in order, the messages of the given ids
// it receives with their wParam, as the application window would get them,
// and a wait for them that dispatches the test thread's messages meanwhile.
// The wait's limit only keeps a broken run from hanging.

#include <windows.h>

#include <algorithm>
#include <initializer_list>
#include <utility>
#include <vector>

#include "app/win/owners.h"

namespace glimmerly::testing_support {

class MessageLog {
public:
    explicit MessageLog(std::initializer_list<UINT> kept) : kept_(kept) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"Glimmerly.Tests.MessageLog";
        RegisterClassW(&wc);
        window_.reset(CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                                      nullptr));
        SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    HWND window() const { return window_.get(); }
    const std::vector<std::pair<UINT, WPARAM>>& entries() const { return entries_; }
    int count(UINT message) const {
        return static_cast<int>(std::count_if(entries_.begin(), entries_.end(),
                                              [&](const auto& entry) { return entry.first == message; }));
    }
    // Whether more than `seen` messages of that id came within 30 s.
    bool wait_past(UINT message, int seen) const {
        MSG queued;
        for (const ULONGLONG end = GetTickCount64() + 30000; count(message) <= seen;) {
            if (GetTickCount64() >= end) return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
            while (PeekMessageW(&queued, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&queued);
        }
        return true;
    }

private:
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM w, LPARAM l) noexcept {
        auto* self = reinterpret_cast<MessageLog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && std::find(self->kept_.begin(), self->kept_.end(), message) != self->kept_.end())
            self->entries_.emplace_back(message, w);
        return DefWindowProcW(window, message, w, l);
    }

    std::vector<UINT> kept_;
    win::UniqueWindow window_;
    std::vector<std::pair<UINT, WPARAM>> entries_;
};

}  // namespace glimmerly::testing_support
