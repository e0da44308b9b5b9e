#pragma once
// Reading and answering the message boxes a test provokes, so that an
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

// Runs `action`, reads the first message box it shows on this thread and
// answers it with OK; all empty when no box came.
AnsweredBox answer_message_box(const std::function<void()>& action);

}  // namespace glimmerly::testing_support
