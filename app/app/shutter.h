#pragma once
// The instant screenshot's shutter sound: "screenshot-custom.wav" in the
// program folder when the user put one there (an empty one silences it),
// else the built-in click, played from memory.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/win/owners.h"
#include "core/base/result.h"
#include "core/instant/shutter_sound.h"

namespace glimmerly {

inline constexpr wchar_t CUSTOM_SHUTTER_FILE_NAME[] = L"screenshot-custom.wav";

// What is at the path, read without following a link; none when nothing is
// there or it cannot be read.
std::optional<ShutterFileFacts> read_shutter_file_facts(const std::wstring& path);

// Plays without waiting. It keeps the built-in sound's bytes, which the
// system reads while the sound plays, and stops that sound before they go.
class ShutterPlayer {
public:
    ShutterPlayer() = default;
    ShutterPlayer(const ShutterPlayer&) = delete;
    ShutterPlayer& operator=(const ShutterPlayer&) = delete;
    ~ShutterPlayer();

    // The custom file of the program folder, or the built-in click when that
    // is missing, a folder, a link or a file the system cannot play.
    // Failures are silent: the screenshot is saved all the same.
    void play();

    // `custom_path` in place of the program folder's file.
    void play_from(const std::optional<std::wstring>& custom_path);

private:
    using PlaySoundCall = BOOL(WINAPI*)(LPCWSTR sound, HMODULE module, DWORD flags);

    bool load_player();
    void play_builtin();

    // The multimedia library comes with the first sound, not at start: under
    // Wine it loads the audio codec drivers, 0.8 MiB the resident would
    // otherwise hold from the start for a sound it may never play.
    win::UniqueModule winmm_;
    PlaySoundCall play_sound_ = nullptr;  // PlaySoundW
    std::vector<std::uint8_t> builtin_;
    bool played_builtin_ = false;
};

}  // namespace glimmerly
