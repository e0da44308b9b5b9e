#pragma once
// The resident never edits or bakes the board in its own process: it
// starts this program again with one board option and goes on at once,
// learning nothing of the child's end. The children coordinate through the
// board's named mutexes only.

#include <string_view>

#include "core/base/result.h"

namespace glimmerly {

// "--board": the board editor, allowed to take the foreground.
Status start_board_editor_process();
// "--board-bake".
Status start_board_bake_process();
// "--board-clear".
Status start_board_clear_process();

}  // namespace glimmerly
