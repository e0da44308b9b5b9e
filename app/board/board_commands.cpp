#include "app/board/board_commands.h"

#include "app/app/unbuilt.h"

namespace glimmerly {

// The bake lives in board_bake.cpp; restoring and clearing are not built yet
// and say so plainly.
Status run_restore_wallpaper_command() { return not_available("The board"); }
Status clear_board() { return not_available("The board"); }

}  // namespace glimmerly
