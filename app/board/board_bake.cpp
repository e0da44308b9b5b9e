#include "app/board/board_bake.h"
#include "app/board/board_commands.h"

#include <windows.h>

#include "app/app/settings_timers.h"
#include "app/board/bake/bake.h"
#include "app/board/bake/restore.h"
#include "app/board/board_files.h"
#include "app/board/desktop_wallpaper.h"
#include "app/lib/program_folders.h"
#include "app/lib/settings_store.h"
#include "app/win/paths.h"

namespace glimmerly {
namespace {

void write_standard_error(std::string_view text) {
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (!error || error == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(error, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace

Result<bool> board_bake_up_to_date(const std::wstring& folder, WallpaperApi& wallpaper, const PathRules& rules) {
    auto base = read_board_base(folder);
    if (!base) return std::move(base).failure();
    if (!*base) return false;
    auto monitors = list_wallpaper_monitors(wallpaper);
    if (!monitors) return std::move(monitors).failure();
    auto match = wallpapers_match_base(**base, wallpaper, *monitors, rules);
    if (!match) return std::move(match).failure();
    if (!*match) return false;
    return bake_recorded_finished(folder, **base, *monitors);
}

Status run_board_bake_command() {
    auto lock = lock_board_bake(kBakeCommandWaitMs);
    if (!lock) return std::move(lock).failure();
    if (!*lock) {
        // Another bake held the board for a minute: it bakes the same page.
        write_standard_error("Another bake is still running; this one did nothing.\n");
        return ok_status();
    }
    const win::HeldMutex held = std::move(**lock);

    auto settings = load_settings();
    if (!settings) return settings_unreadable_error(settings.failure());
    if (!settings->board_visible) return ok_status();

    auto folder = ensure_board_dir();
    if (!folder) return std::move(folder).failure();
    auto wallpaper = create_desktop_wallpaper();
    if (!wallpaper) return std::move(wallpaper).failure();
    // A check that cannot be made is no reason to leave the desktop as it
    // is: the bake lists the monitors itself and tells its own failure.
    auto up_to_date = board_bake_up_to_date(*folder, **wallpaper, windows_path_rules());
    if (up_to_date && *up_to_date) return ok_status();
    auto baked = bake_board(*folder, **wallpaper, windows_path_rules());
    if (baked) return ok_status();
    // A board that cannot be baked is hidden again, so that the failure is
    // told once and not at every start, and the desktop follows the setting.
    (void)store_board_visibility(false);
    (void)give_board_base_back(*folder, **wallpaper);
    return std::move(baked).failure();
}

}  // namespace glimmerly
