#pragma once
// The board's self-checks. "--board-diagnostic" is a dry run: a sample page
// written and read back in a folder of its own, the baked pictures of the
// current desktop rendered, saved, read back and checked, the wallpaper
// untouched. "--board-diagnostic-set" bakes the sample page onto the real
// desktop from a folder of its own, gives the user's wallpaper back and
// checks that it came back. Both write "target/board-diagnostics.txt" only
// when they pass; neither touches the user's board folder.

#include <memory>
#include <span>
#include <string>

#include "app/board/bake/bake.h"
#include "core/base/result.h"
#include "core/board/wallpaper.h"

namespace glimmerly {

Status run_board_diagnostic();
Status run_board_diagnostic_set();

// The wallpaper object of a run: the shell's, or where the shell has none
// the program's own layer over the run's folder, never the user's.
Result<std::unique_ptr<WallpaperApi>> diagnostic_wallpaper(const std::wstring& folder);

// The monitors; none listed is "No screen reported".
Result<std::vector<BoardScreen>> list_diagnostic_screens(WallpaperApi& wallpaper);

// Saved as the monitor's "baked-<stem>.png" in the folder, read back and
// checked for size and for the note.
Status check_baked_picture(const std::wstring& folder, const BoardScreen& monitor, const BakedPicture& picture);

// The set run's steps.
Status diagnostic_bake_step(const std::wstring& folder, WallpaperApi& wallpaper, std::span<const BoardScreen> monitors);
Status base_given_back(const std::wstring& folder, WallpaperApi& wallpaper, std::span<const BoardScreen> monitors);
// base_given_back, and where the base is solid colour and a monitor still
// shows its baked picture, the wallpaper removed as a last resort (the run
// still fails, saying whether that helped).
Status check_base_restored(const std::wstring& folder, WallpaperApi& wallpaper, std::span<const BoardScreen> monitors);

}  // namespace glimmerly
