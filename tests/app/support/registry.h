#pragma once
// Registry access for tests.

#include <windows.h>

#include <optional>
#include <string>

namespace glimmerly::testing_support {

bool set_registry_string(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& value);
std::optional<std::wstring> registry_string(HKEY root, const std::wstring& key, const std::wstring& name);
bool registry_key_exists(HKEY root, const std::wstring& key);
// A REG_DWORD value; none when absent (setting none deletes it).
std::optional<DWORD> registry_dword(HKEY root, const std::wstring& key, const std::wstring& name);
void set_registry_dword(HKEY root, const std::wstring& key, const std::wstring& name, std::optional<DWORD> value);
void delete_registry_tree(HKEY root, const std::wstring& key);

}  // namespace glimmerly::testing_support
