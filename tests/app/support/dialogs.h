#pragma once
// Finding and answering the message boxes a test provokes, so that an
// unattended run never hangs on one.

#include <windows.h>

#include <functional>
#include <string>

namespace glimmerly::testing_support {

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
