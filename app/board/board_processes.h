#pragma once
// The resident never edits or bakes the board in its own process: it
// starts this program again with one board option and goes on at once,
// learning nothing of the child's end. The children coordinate through the
// board's named mutexes only.

#include <string>

#include "core/base/result.h"

namespace glimmerly {

// Each runs `program`, or this program when it is empty (the App's
// board_program: tests name one that cannot be started).
// "--board": the board editor, allowed to take the foreground.
Status start_board_editor_process(const std::wstring& program = {});
// "--board-bake".
Status start_board_bake_process(const std::wstring& program = {});
// "--board-clear".
Status start_board_clear_process(const std::wstring& program = {});
// "--restore-wallpaper".
Status start_board_restore_process(const std::wstring& program = {});

// At the resident's start the desktop is made to match the board setting,
// whatever a process cut off earlier left on it: shown, a bake (which does
// nothing when the desktop is up to date); hidden, a restore when the board
// folder records a base (which does nothing unless the desktop still shows
// the board or a half-done bake). A failure to start is dropped.
void reconcile_board_at_start(bool board_shown, const std::wstring& program = {});

}  // namespace glimmerly
