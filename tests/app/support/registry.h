#pragma once
// Registry access for tests.

#include <optional>
#include <string>

#include "app/win/owners.h"

namespace glimmerly::testing_support {

inline bool set_registry_string(HKEY root, const std::wstring& key, const std::wstring& name,
                                const std::wstring& value) {
    return RegSetKeyValueW(root, key.c_str(), name.c_str(), REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

inline std::optional<std::wstring> registry_string(HKEY root, const std::wstring& key, const std::wstring& name) {
    wchar_t buffer[4096] = {};
    DWORD size = sizeof buffer - sizeof(wchar_t);
    if (RegGetValueW(root, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(buffer);
}

inline bool registry_key_exists(HKEY root, const std::wstring& key) {
    win::UniqueRegistryKey opened;
    return RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, opened.put()) == ERROR_SUCCESS;
}

// A REG_DWORD value; none when absent (setting none deletes it).
inline std::optional<DWORD> registry_dword(HKEY root, const std::wstring& key, const std::wstring& name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueW(root, key.c_str(), name.c_str(), RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

inline void set_registry_dword(HKEY root, const std::wstring& key, const std::wstring& name,
                               std::optional<DWORD> value) {
    if (value)
        RegSetKeyValueW(root, key.c_str(), name.c_str(), REG_DWORD, &*value, sizeof *value);
    else
        RegDeleteKeyValueW(root, key.c_str(), name.c_str());
}

inline void delete_registry_tree(HKEY root, const std::wstring& key) { RegDeleteTreeW(root, key.c_str()); }

}  // namespace glimmerly::testing_support
