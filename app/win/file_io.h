#pragma once
// Whole-file reads for the program's small owned files.

#include <cstdint>
#include <optional>
#include <string>

#include "core/base/result.h"

namespace glimmerly::win {

inline constexpr std::int32_t FILE_TOO_LARGE_CODE = hresult_from_win32(223);  // ERROR_FILE_TOO_LARGE

// The file's bytes; none when it does not exist (or its folder does not); a
// failure for any other error. A file larger than `max_bytes` is refused
// before anything is read, with ERROR_FILE_TOO_LARGE as its code
// (FILE_TOO_LARGE_CODE), so that a caller can tell it from a failed read.
Result<std::optional<std::string>> read_file_if_exists(const std::wstring& path, std::uint64_t max_bytes);

}  // namespace glimmerly::win
