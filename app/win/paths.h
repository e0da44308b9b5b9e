#pragma once
// Windows paths (wide strings) at the edge of the platform-free path rules,
// which work on UTF-16 code units.

#include <string>
#include <string_view>

#include "core/paths/path_names.h"

namespace glimmerly::win {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16 code units");

inline std::u16string to_u16(std::wstring_view path) { return std::u16string(path.begin(), path.end()); }
inline std::wstring from_u16(std::u16string_view path) { return std::wstring(path.begin(), path.end()); }

inline std::wstring join_path(std::wstring_view folder, std::wstring_view name) {
    return from_u16(glimmerly::join_path(to_u16(folder), to_u16(name)));
}
inline std::wstring folder_of(std::wstring_view path) { return from_u16(glimmerly::folder_of(to_u16(path))); }

}  // namespace glimmerly::win
