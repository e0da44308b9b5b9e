#include "app/presentation/sound.h"

#include <mmsystem.h>

#include "app/lib/program_folders.h"
#include "app/win/paths.h"
#include "app/win/system_function.h"
#include "core/presentation/click_sounds.h"

namespace glimmerly {
namespace {

bool is_plain_file(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

void play_click_sound(std::uint32_t style, std::uint32_t level) {
    if (style == 0) return;
    // Looked up on every click: adding or removing the file counts at once.
    auto folder = program_folder_path();
    // Looked up, not imported: the sound libraries would load into every
    // process at its start, a cold editor child's too.
    const auto play = win::system_function_as<PlaySoundCall>(L"winmm.dll", "PlaySoundW");
    if (!play) return;
    (void)play_click_sound_from(style, level,
                                folder ? std::optional(win::join_path(*folder, CUSTOM_CLICK_FILE_NAME)) : std::nullopt,
                                play);
}

ClickPlayed play_click_sound_from(std::uint32_t style, std::uint32_t level,
                                  const std::optional<std::wstring>& custom_path, PlaySoundCall play) {
    if (style == 0) return ClickPlayed::Nothing;
    if (custom_path && is_plain_file(*custom_path) &&
        play(custom_path->c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT))
        return ClickPlayed::CustomFile;
    try {
        // The images live until the process ends, so an asynchronous sound
        // never outlives its bytes.
        const auto& image = click_sounds()[click_sound_index(style, level)];
        (void)play(reinterpret_cast<LPCWSTR>(image.data()), nullptr, SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
    } catch (...) {
        return ClickPlayed::Nothing;  // no memory for a click: no click
    }
    return ClickPlayed::BuiltIn;
}

}  // namespace glimmerly
