#include "app/board/bake/restore.h"

#include <windows.h>

#include <thread>

#include "app/board/bake/bake.h"
#include "app/board/board_commands.h"
#include "app/board/board_files.h"
#include "app/board/desktop_wallpaper.h"
#include "app/lib/program_folders.h"
#include "app/win/failure.h"
#include "app/win/paths.h"
#include "core/board/wallpaper_restore.h"

namespace glimmerly {
namespace {

class WindowsRestoreHost final : public RestoreHost {
public:
    Status remove_all_wallpapers() override {
        wchar_t none[] = L"";
        if (!SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, none, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE))
            return win::win32_failure("SystemParametersInfoW(SPI_SETDESKWALLPAPER)");
        return ok_status();
    }
    bool image_exists(const std::u16string& path) override {
        const DWORD attributes = GetFileAttributesW(win::from_u16(path).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    Clock::time_point now() override { return Clock::now(); }
    void sleep(Clock::duration wait) override { std::this_thread::sleep_for(wait); }
};

Failure bake_still_running() { return plain_failure("Another bake is still running"); }

// The reconciliation and restore under a mutex the caller holds.
Status give_base_back(const std::wstring& folder, BoardBase stored, WallpaperApi& wallpaper) {
    auto monitors = list_wallpaper_monitors(wallpaper);
    if (!monitors) return std::move(monitors).failure();
    auto shown = read_monitor_wallpapers(wallpaper, *monitors);
    if (!shown) return std::move(shown).failure();
    auto position = get_wallpaper_position(wallpaper);
    if (!position) return std::move(position).failure();
    auto colour = get_background_colour(wallpaper);
    if (!colour) return std::move(colour).failure();
    const bool unfinished = !bake_recorded_finished(folder, stored, *monitors);
    const auto base = match_screens_to_wallpaper_base(std::move(stored), *shown, *position, *colour,
                                                      windows_path_rules(), unfinished);
    if (!base) return ok_status();
    WindowsRestoreHost host;
    return apply_wallpaper_base(*base, *monitors, wallpaper, windows_path_rules(), host);
}

}  // namespace

Status give_board_base_back(const std::wstring& folder, WallpaperApi& wallpaper) {
    auto stored = read_board_base(folder);
    if (!stored) return std::move(stored).failure();
    if (!*stored) return ok_status();
    return give_base_back(folder, std::move(**stored), wallpaper);
}

Status restore_wallpaper_locked(const std::wstring& folder, WallpaperApi& wallpaper) {
    auto lock = lock_board_bake(kBakeWaitMs);
    if (!lock) return std::move(lock).failure();
    if (!*lock) return bake_still_running();
    const win::HeldMutex held = std::move(**lock);
    return give_board_base_back(folder, wallpaper);
}

Status restore_wallpaper(const std::wstring& folder) {
    auto wallpaper = create_desktop_wallpaper();
    if (!wallpaper) return std::move(wallpaper).failure();
    return restore_wallpaper_locked(folder, **wallpaper);
}

// The interface and the mutex go on every path out, whichever step failed.
Status run_restore_wallpaper_command() {
    auto folder = board_dir_path();
    if (!folder) return std::move(folder).failure();
    auto lock = lock_board_bake(kBakeWaitMs);
    if (!lock) return std::move(lock).failure();
    if (!*lock) return bake_still_running();
    const win::HeldMutex held = std::move(**lock);
    auto stored = read_board_base(*folder);
    if (!stored) return std::move(stored).failure();
    if (!*stored) return ok_status();
    auto wallpaper = create_desktop_wallpaper();
    if (!wallpaper) return std::move(wallpaper).failure();
    return give_base_back(*folder, std::move(**stored), **wallpaper);
}

Result<bool> board_needs_bake(bool board_shown, bool bake_requested) {
    if (!board_shown) return false;
    if (bake_requested) return true;
    auto wallpaper = create_desktop_wallpaper();
    if (!wallpaper) return std::move(wallpaper).failure();
    auto folder = ensure_board_dir();
    if (!folder) return std::move(folder).failure();
    auto base = read_board_base(*folder);
    if (!base) return std::move(base).failure();
    if (!*base) return false;
    auto monitors = list_wallpaper_monitors(**wallpaper);
    if (!monitors) return std::move(monitors).failure();
    auto match = wallpapers_match_base(**base, **wallpaper, *monitors, windows_path_rules());
    if (!match) return std::move(match).failure();
    return !*match;
}

}  // namespace glimmerly
