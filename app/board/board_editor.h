#pragma once
// The board editor process ("--board"): the board's notes opened for
// editing over a picture of the desktop as the user sees it, with the baked
// copy of the notes taken out of the wallpaper. The process holds
// Local\Glimmerly.Board while it runs, which keeps "--board-clear" off.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/app/app.h"
#include "core/base/result.h"
#include "core/board/board_desktop.h"
#include "core/board/board_file.h"
#include "core/board/wallpaper.h"

namespace glimmerly {

// The page of the board folder; empty without "page-1.txt". A page written
// by a newer version or damaged is refused ("board.newer", "board.damaged")
// and never changed.
Result<BoardFile> load_board_page(const std::wstring& folder);

// What the opening found under the bake mutex: the monitors as listed then,
// and the picture the editor opens over.
struct OpenedDesktop {
    std::vector<BoardScreen> monitors;
    BoardDesktop desktop;
};

// Draws the desktop window into the picture at its place.
using DesktopRenderer = std::function<Status(DesktopPicture&)>;

// Under the bake mutex: the monitors (none is refused with
// "error.board_unopened"), the base reconciled and written to "base.txt",
// the base picture, then the desktop drawn over it and, only once it was
// drawn, each monitor's wallpaper read to take a shown bake out again. A
// desktop that cannot be drawn gives the base picture alone. The editor
// passes render_desktop_window; the drawing is a parameter because Wine
// has no desktop window to draw.
Result<OpenedDesktop> open_board_desktop(const std::wstring& folder, WallpaperApi& wallpaper,
                                         const DesktopRenderer& render);

// Reads the wallpaper state and composes the desktop picture under the bake
// mutex (writing "base.txt" as the desktop shows it now), then opens the
// page in the App's editor; the caller's message loop runs it, and
// save_and_bake_board ends it.
Status run_board_editor(App& app, HWND window);

}  // namespace glimmerly
