#include "app/app/shutter.h"

#include <mmsystem.h>

#include "app/lib/program_folders.h"
#include "app/win/owners.h"
#include "app/win/paths.h"

namespace glimmerly {

std::optional<ShutterFileFacts> read_shutter_file_facts(const std::wstring& path) {
    // The listing entry describes the name itself: a link's own attributes
    // and reparse tag, not its target's.
    WIN32_FIND_DATAW data{};
    const win::UniqueFindHandle found(
        FindFirstFileExW(path.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0));
    if (!found) return std::nullopt;
    ShutterFileFacts facts;
    facts.directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    facts.link = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && IsReparseTagNameSurrogate(data.dwReserved0);
    facts.size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    return facts;
}

ShutterPlayer::~ShutterPlayer() {
    if (played_builtin_) play_sound_(nullptr, nullptr, 0);
}

bool ShutterPlayer::load_player() {
    if (play_sound_) return true;
    winmm_.reset(LoadLibraryW(L"winmm.dll"));
    if (!winmm_) return false;
    play_sound_ = reinterpret_cast<PlaySoundCall>(reinterpret_cast<void*>(GetProcAddress(winmm_.get(), "PlaySoundW")));
    return play_sound_ != nullptr;
}

void ShutterPlayer::play() {
    auto folder = program_folder_path();
    play_from(folder ? std::optional(win::join_path(*folder, CUSTOM_SHUTTER_FILE_NAME)) : std::nullopt);
}

void ShutterPlayer::play_from(const std::optional<std::wstring>& custom_path) {
    const auto facts = custom_path ? read_shutter_file_facts(*custom_path) : std::nullopt;
    const ShutterSound sound = choose_shutter_sound(facts);
    if (sound == ShutterSound::Silent || !load_player()) return;
    switch (sound) {
        case ShutterSound::Silent: return;
        case ShutterSound::CustomFile:
            if (play_sound_(custom_path->c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT)) return;
            break;  // not a sound the system plays
        case ShutterSound::BuiltIn: break;
    }
    play_builtin();
}

void ShutterPlayer::play_builtin() {
    try {
        if (builtin_.empty()) builtin_ = builtin_shutter_wav();
    } catch (...) {
        return;  // no memory for a click: no click
    }
    played_builtin_ = true;
    play_sound_(reinterpret_cast<LPCWSTR>(builtin_.data()), nullptr, SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
}

}  // namespace glimmerly
