#include "app/board/board_commands.h"

#include <windows.h>

#include "app/board/bake/bake.h"
#include "app/board/board_files.h"
#include "app/board/desktop_wallpaper.h"
#include "app/lib/atomic_write.h"
#include "app/lib/mutex_names.h"
#include "app/lib/program_folders.h"
#include "app/lib/settings_store.h"
#include "app/win/failure.h"
#include "app/win/owners.h"
#include "app/win/paths.h"
#include "core/board/board_file.h"
#include "text/app_error.h"

namespace glimmerly {

// The bake lives in board_bake.cpp and the restore in bake/restore.cpp.

Status clear_board() {
    {
        // Only probed: an editor that opened meanwhile saves its own page.
        win::UniqueHandle probe(CreateMutexW(nullptr, FALSE, BOARD_MUTEX));
        const DWORD error = GetLastError();
        if (!probe) return win::win32_failure_code(error, "CreateMutexW", BOARD_MUTEX);
        if (error == ERROR_ALREADY_EXISTS) return make_app_error(TextId::error_board_in_use);
    }
    auto folder = ensure_board_dir();
    if (!folder) return std::move(folder).failure();
    auto lock = lock_board_bake(kBakeWaitMs);
    if (!lock) return std::move(lock).failure();
    if (!*lock) return plain_failure("Another bake is still running");
    const win::HeldMutex held = std::move(**lock);

    auto text = write_board_file(BoardFile{});
    if (!text) return std::move(text).failure();
    auto written = write_file_atomically(*text, win::join_path(*folder, win::from_u16(kPageFileName)), false);
    if (!written) return std::move(written).failure();

    auto settings = load_settings();
    if (!settings) return settings_unreadable_error(settings.failure());
    if (!settings->board_visible) return ok_status();
    auto wallpaper = create_desktop_wallpaper();
    if (!wallpaper) return std::move(wallpaper).failure();
    auto baked = bake_board(*folder, **wallpaper, windows_path_rules());
    if (!baked) return std::move(baked).failure();
    return ok_status();
}

}  // namespace glimmerly
