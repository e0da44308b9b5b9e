#pragma once
// Replacing a file so that no reader ever sees half of it: the bytes go to a
// sibling temporary file named with the process id, which is then moved over
// the target in one step.

#include <string>
#include <string_view>

#include "core/base/result.h"

namespace glimmerly {

// How often a keep-existing write takes a new number before it gives up.
// Numbers are only taken while another writer keeps winning the race, or
// while a non-image name's numbered variant is occupied, which no new number
// can cure: without a bound that case would loop forever.
inline constexpr int MAX_NUMBERED_ATTEMPTS = 32;

// `target` with its extension replaced by this process's id and "tmp".
std::wstring temporary_path_for(const std::wstring& target);

// Writes the bytes atomically and returns the path written. Replaces an
// existing target, or with `keep_existing` leaves it alone and takes the next
// free numbered name of its folder instead (with the target's extension).
// The temporary file never survives a failure.
// Failures are I/O failures (E_FAIL with the platform's text).
Result<std::wstring> write_file_atomically(std::string_view bytes, const std::wstring& target, bool keep_existing);

// The same write, its failures keeping the platform's own code (a full disk,
// a denied folder), for callers that report the code.
Result<std::wstring> replace_file_atomically(std::string_view bytes, const std::wstring& target, bool keep_existing);

}  // namespace glimmerly
