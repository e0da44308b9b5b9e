#pragma once
// Failures of platform calls, and the UTF-8 <-> wide conversions at the edge.

#include <windows.h>

#include <string>
#include <string_view>

#include "core/base/result.h"

namespace glimmerly::win {

std::wstring to_wide(std::string_view utf8);
std::string to_utf8(std::wstring_view wide);

// The system's message text for a failure code (FormatMessageW), without the
// trailing line break; empty when the system has none.
std::string system_message(std::int32_t code);

// What a user is shown for a failure code: the system's message, else the
// program's own words for the imaging and drawing codes the system keeps no
// text for (Wine has none for the imaging component's), else words that
// say so beside the code. Never the bare code.
std::string code_text(std::int32_t code);

// A failed Win32 call: code (error & 0xFFFF) | 0x80070000, message
// "<what> <subject>: <system text>". It reads GetLastError() before it does
// anything else; the subject (a path, a key, a name) is taken as the wide
// text the call was given and converted only afterwards, because a
// conversion made while the arguments are evaluated may reset the last
// error. Call it right after the failing call.
Failure win32_failure(std::string_view what, std::wstring_view subject = {});
// The same for an error code already at hand: a status the call returned, or
// GetLastError() saved in a local right after the call.
Failure win32_failure_code(DWORD error, std::string_view what, std::wstring_view subject = {});

// A failed Win32 call of a self-check or a rendering script, whose reports
// must tell a platform failure from one that set no error: as
// win32_failure, but a last error of 0 (GDI does not always set one) gives
// kNoSystemErrorCode and "<what> <subject> failed without an error code".
inline constexpr std::int32_t kNoSystemErrorCode = 0x535F4F4B;
Failure self_check_failure(std::string_view what, std::wstring_view subject = {});

// A failed call that returned an HRESULT.
Failure hr_failure(HRESULT hr, std::string_view what);

// Success, or the failure of a call that returned that HRESULT.
inline Status hr_status(HRESULT hr, std::string_view what) {
    if (FAILED(hr)) return hr_failure(hr, what);
    return ok_status();
}

}  // namespace glimmerly::win
