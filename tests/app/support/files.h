#pragma once
// Plain file access for tests: what is on disk, byte for byte.

#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "app/win/owners.h"

namespace glimmerly::testing_support {

inline bool write_test_file(const std::wstring& path, std::string_view bytes) {
    win::UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

// None when the file cannot be opened.
inline std::optional<std::string> read_test_file(const std::wstring& path) {
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    win::UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return std::nullopt;
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    return bytes;
}

// The names in a folder, "." and ".." left out.
inline std::set<std::wstring> folder_names(const std::wstring& folder) {
    std::set<std::wstring> names;
    WIN32_FIND_DATAW data;
    win::UniqueFindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &data));
    for (bool more = find.valid(); more; more = FindNextFileW(find.get(), &data))
        if (std::wstring_view(data.cFileName) != L"." && std::wstring_view(data.cFileName) != L"..")
            names.insert(data.cFileName);
    return names;
}

inline bool path_exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace glimmerly::testing_support
