#pragma once
// Names of the program's cross-process mutexes, all in the session's Local
// namespace. Other processes of the program (and older builds) rely on them.

namespace glimmerly {

// Serialises every write of the settings file in every process.
inline constexpr wchar_t SETTINGS_WRITE_MUTEX[] = L"Local\\Glimmerly.SettingsWrite";

}  // namespace glimmerly
