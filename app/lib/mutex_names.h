#pragma once
// Names of the program's cross-process mutexes, all in the session's Local
// namespace. Other processes of the program (and older builds) rely on them.

namespace glimmerly {

// Serialises every write of the settings file in every process.
inline constexpr wchar_t SETTINGS_WRITE_MUTEX[] = L"Local\\Glimmerly.SettingsWrite";

// One per role: it only marks that an instance of the role runs.
inline constexpr wchar_t RESIDENT_MUTEX[] = L"Local\\Glimmerly.Resident";
inline constexpr wchar_t EDITOR_MUTEX[] = L"Local\\Glimmerly.Editor";
inline constexpr wchar_t DOCUMENT_MUTEX[] = L"Local\\Glimmerly.Document";
inline constexpr wchar_t BOARD_MUTEX[] = L"Local\\Glimmerly.Board";
inline constexpr wchar_t DIAGNOSTICS_MUTEX[] = L"Local\\Glimmerly.Diagnostics";
inline constexpr wchar_t FIRST_FRAME_DIAGNOSTIC_MUTEX[] = L"Local\\Glimmerly.FirstFrameDiagnostic";
// Keeps a second "--warm-diagnostic" out.
inline constexpr wchar_t WARM_DIAGNOSTIC_MUTEX[] = L"Local\\Glimmerly.WarmDiagnostic";

}  // namespace glimmerly

namespace glimmerly {

// Serialises every bake, clear, restore and board opening: holding it is the
// right to read and write the board files and to change the wallpaper.
inline constexpr wchar_t BOARD_BAKE_MUTEX[] = L"Local\\Glimmerly.BoardBake";

}  // namespace glimmerly
