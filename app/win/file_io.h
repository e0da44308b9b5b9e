#pragma once
// Whole-file reads for the program's small owned files.

#include <cstdint>
#include <optional>
#include <string>

#include "core/base/result.h"

namespace glimmerly::win {

// The file's bytes; none when it does not exist (or its folder does not); a
// failure for any other error, and for a file larger than `max_bytes`, which
// is refused before anything is read.
Result<std::optional<std::string>> read_file_if_exists(const std::wstring& path, std::uint64_t max_bytes);

}  // namespace glimmerly::win
