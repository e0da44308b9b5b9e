#pragma once
// Registry access for tests.

#include <windows.h>

#include <optional>
#include <string>

namespace glimmerly::testing_support {

bool set_registry_string(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& value);
std::optional<std::wstring> registry_string(HKEY root, const std::wstring& key, const std::wstring& name);
bool registry_key_exists(HKEY root, const std::wstring& key);
void delete_registry_tree(HKEY root, const std::wstring& key);

}  // namespace glimmerly::testing_support
