#pragma once
// Finding and answering the message boxes a test provokes, so that an
// unattended run never hangs on one.

#include <windows.h>

#include <functional>
#include <string>

namespace glimmerly::testing_support {

// The first dialog (#32770) of the thread, waited for up to `timeout_ms`; null when none came.
HWND wait_for_dialog(DWORD thread_id, unsigned timeout_ms = 10000);

std::wstring window_text(HWND window);

// The icon shown by a message box, or null.
HICON message_box_icon(HWND dialog);

// What a message box showed.
struct AnsweredBox {
    std::wstring title;
    std::wstring text;
    HICON icon = nullptr;
};

// Runs `action` on a thread of its own, reads the first message box it shows
// and answers it with OK; all empty when no box came.
AnsweredBox answer_message_box(const std::function<void()>& action);

}  // namespace glimmerly::testing_support
