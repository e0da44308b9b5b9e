#pragma once
// The board's one-off modes, each run by a process of its own started with
// its option: "--board-bake" bakes the notes into the wallpapers,
// "--restore-wallpaper" gives the user's own wallpaper back, and
// "--board-clear" empties the board. Start-up calls them after COM is set up;
// each one's failure is its process's failure.

#include "core/base/result.h"

namespace glimmerly {

Status run_board_bake_command();
Status run_restore_wallpaper_command();
// Under the board's mutex; the settings and their language are loaded first.
Status clear_board();

}  // namespace glimmerly
