#pragma once
// Plain file access for tests: what is on disk, byte for byte.

#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace glimmerly::testing_support {

bool write_test_file(const std::wstring& path, std::string_view bytes);
// None when the file cannot be opened.
std::optional<std::string> read_test_file(const std::wstring& path);
// The names in a folder, "." and ".." left out.
std::set<std::wstring> folder_names(const std::wstring& folder);
bool path_exists(const std::wstring& path);

}  // namespace glimmerly::testing_support
