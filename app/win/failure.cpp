#include "app/win/failure.h"

#include "core/base/utf.h"

namespace glimmerly::win {

std::wstring to_wide(std::string_view utf8) {
    const std::u16string wide = utf8_to_utf16_lossy(utf8);
    return std::wstring(wide.begin(), wide.end());
}

std::string to_utf8(std::wstring_view wide) {
    return utf16_to_utf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

std::string system_message(std::int32_t code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text;
    if (length && buffer) text.assign(buffer, length);
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    return to_utf8(text);
}

namespace {

std::string describe(std::int32_t code, std::string_view what, std::string_view detail) {
    std::string message(what);
    if (!detail.empty()) {
        message += ' ';
        message += detail;
    }
    std::string system = system_message(code);
    if (system.empty()) {
        char hex[16];
        wsprintfA(hex, "0x%08X", static_cast<unsigned>(code));
        system = hex;
    }
    if (!message.empty()) message += ": ";
    return message + system;
}

}  // namespace

Failure win32_failure_code(DWORD error, std::string_view what, std::wstring_view subject) {
    // A failing call that did not set an error still failed.
    const std::int32_t code = error ? hresult_from_win32(error) : E_FAIL_CODE;
    return Failure{code, describe(code, what, to_utf8(subject))};
}

Failure win32_failure(std::string_view what, std::wstring_view subject) {
    const DWORD error = GetLastError();
    return win32_failure_code(error, what, subject);
}

Failure hr_failure(HRESULT hr, std::string_view what) {
    const std::int32_t code = FAILED(hr) ? static_cast<std::int32_t>(hr) : E_FAIL_CODE;
    return Failure{code, describe(code, what, {})};
}

}  // namespace glimmerly::win
