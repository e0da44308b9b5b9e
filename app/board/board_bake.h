#pragma once
// "--board-bake": bakes the board onto the desktop unless the
// desktop already shows the bake of the same page, base and monitors.

#include <string>

#include "core/base/result.h"
#include "core/board/wallpaper.h"

namespace glimmerly {

// Whether the desktop shows the last bake of the folder's page: a base is
// there, every monitor shows its recorded baked picture, and "baked.txt"
// holds the fingerprint of the page, the base and the monitors now. Costs
// one wallpaper query per monitor, two small file reads and one hash.
Result<bool> board_bake_up_to_date(const std::wstring& folder, WallpaperApi& wallpaper, const PathRules& rules);

// run_board_bake_command (board_commands.h) runs after COM is initialised
// apartment-threaded and the interface language is set. A bake mutex still
// busy after 60 s ends it successfully with one line on standard error; a
// hidden board changes nothing.

}  // namespace glimmerly
