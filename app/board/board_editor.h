#pragma once
// The board editor process ("--board"): the board's notes opened for
// editing over a picture of the desktop as the user sees it, with the baked
// copy of the notes taken out of the wallpaper. The process holds
// Local\Glimmerly.Board while it runs, which keeps "--board-clear" off.

#include <windows.h>

#include <string>

#include "app/app/app.h"
#include "core/base/result.h"
#include "core/board/board_file.h"

namespace glimmerly {

// The page of the board folder; empty without "page-1.txt". A page written
// by a newer version or damaged is refused ("board.newer", "board.damaged")
// and never changed.
Result<BoardFile> load_board_page(const std::wstring& folder);

// Reads the wallpaper state and composes the desktop picture under the bake
// mutex (writing "base.txt" as the desktop shows it now), then opens the
// page in the App's editor; the caller's message loop runs it, and
// save_and_bake_board ends it.
Status run_board_editor(App& app, HWND window);

}  // namespace glimmerly
