#include "app/app/error_box.h"

#include "app/win/failure.h"
#include "text/app_error.h"

namespace glimmerly {

std::wstring error_box_text(const Failure& error) {
    return win::to_wide(error_to_text(error, current_language(), &win::code_text));
}

void show_message_box(HWND owner, std::wstring_view text) {
    MessageBoxW(owner, std::wstring(text).c_str(), L"Glimmerly", MB_OK | MB_ICONINFORMATION);
}

void show_message_box(HWND owner, std::string_view text) { show_message_box(owner, win::to_wide(text)); }

void show_error_box(HWND owner, const Failure& error) { show_message_box(owner, error_box_text(error)); }

void show_error_box(HWND owner, const Failure& error, TextId caption) {
    const std::wstring title = win::to_wide(text_of(current_language(), caption));
    MessageBoxW(owner, error_box_text(error).c_str(), title.c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace glimmerly
