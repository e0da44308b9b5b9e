#pragma once
// "settings.txt": one value per line. Every version from 1 to 21 is read,
// under the current and the earlier header word, and what an older version
// lacks keeps its default; the writer always writes version 21.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/base/result.h"
#include "core/settings/settings.h"

namespace glimmerly {

inline constexpr std::uint32_t kSettingsVersion = 21;
inline constexpr std::string_view kSettingsHeader = "glimmerly-settings-";
inline constexpr std::string_view kEarlierSettingsHeader = "brindlet-settings-";

// The number of lines of each version, the header included.
std::size_t settings_line_count(std::uint32_t version);

// The file's bytes -> the record, or a failure whose message is the first
// refusal in the reader's check order. One leading UTF-8 byte-order mark is
// skipped; a line is never repaired or skipped.
Result<Settings> parse_settings(std::string_view content);

// The version-21 text, without a byte-order mark. Writes what it is given; `validate_settings` decides
// whether it may be written.
std::string format_settings(const Settings& settings);

}  // namespace glimmerly
