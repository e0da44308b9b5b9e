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

// A failed Win32 call: reads GetLastError() first, so call it right after the
// failing call. Code (error & 0xFFFF) | 0x80070000, message "<what> <detail>: <system text>".
Failure win32_failure(std::string_view what, std::string_view detail = {});
Failure win32_failure_code(DWORD error, std::string_view what, std::string_view detail = {});

// A failed call that returned an HRESULT.
Failure hr_failure(HRESULT hr, std::string_view what);

}  // namespace glimmerly::win
