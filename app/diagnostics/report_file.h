#pragma once
// The reports of the one-off checks, read by the scripts that run them.

#include <string>

#include "core/base/result.h"

namespace glimmerly {

// The text's bytes as the whole file, created or replaced in place: a
// report is read after its process ended, never while it is written.
Status write_report_file(const std::wstring& path, std::string text);

}  // namespace glimmerly
