#include "app/board/board_commands.h"

#include "app/app/unbuilt.h"

namespace glimmerly {

// The board itself is not built yet: every mode says so plainly.
Status run_board_bake_command() { return not_available("The board"); }
Status run_restore_wallpaper_command() { return not_available("The board"); }
Status clear_board() { return not_available("The board"); }

}  // namespace glimmerly
