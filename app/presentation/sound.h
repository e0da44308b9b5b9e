#pragma once
// The click sounds of presentation mode: "click-custom.wav" in the program's
// folder when the user put one there, else the built-in soft or hard click
// at the chosen level. Every sound starts asynchronously; a sound that
// cannot play is silence, never an error.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace glimmerly {

inline constexpr wchar_t CUSTOM_CLICK_FILE_NAME[] = L"click-custom.wav";

// PlaySoundW, or a stand-in through which a test hears what would play.
using PlaySoundCall = BOOL(WINAPI*)(LPCWSTR sound, HMODULE module, DWORD flags);

enum class ClickPlayed : std::uint8_t { Nothing, CustomFile, BuiltIn };

// Style 0 plays nothing, 1 the soft click, any other the hard click; level
// 0 low, 1 medium, any other high.
void play_click_sound(std::uint32_t style, std::uint32_t level);

// The same with the custom file's path (none: the folder is unknown) and
// the player given.
ClickPlayed play_click_sound_from(std::uint32_t style, std::uint32_t level,
                                  const std::optional<std::wstring>& custom_path, PlaySoundCall play);

}  // namespace glimmerly
