#pragma once
// Registry keys and values the program reads and writes, all under
// HKEY_CURRENT_USER.

namespace glimmerly {

inline constexpr wchar_t REGISTRY_KEY[] = L"Software\\Glimmerly";
// The key of the product's earlier name, taken over at start-up.
inline constexpr wchar_t EARLIER_REGISTRY_KEY[] = L"Software\\Brindlet";

// The sign-in list and the program's value in it.
inline constexpr wchar_t RUN_KEY[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t RUN_VALUE[] = L"Glimmerly";
inline constexpr wchar_t EARLIER_RUN_VALUE[] = L"Brindlet";

}  // namespace glimmerly
