#pragma once
// The one end of every editor session. A board session first saves its
// notes to "page-1.txt", bakes them into the wallpapers under the bake
// mutex and waits briefly for the desktop to show them; then every session
// closes the same way (leave_editor_session).

#include <windows.h>

#include <optional>
#include <string>

#include "app/app/app.h"
#include "app/board/bake/bake.h"
#include "core/base/result.h"
#include "core/board/board_page.h"
#include "text/text_table.h"

namespace glimmerly {

// The side file that keeps the notes when the page cannot be saved.
inline constexpr char16_t kUnsavedPageFileName[] = u"page-1.unsaved.txt";

// A failed save of a board page keeps the editor open after telling why
// ("error.board_unsaved"), with the notes kept in the side file; a second
// close then leaves without saving the page. A failed bake is told
// ("error.wallpaper_unchanged") and the session ends without `text`.
void save_and_bake_board(App& app, HWND window, std::optional<TextId> text);

// The edited notes put back into the page on disk for the session's
// monitors; without a board session nothing happens.
Status save_board_page(App& app, HWND window);

// bake_board under the bake mutex (10 s, then "Another bake is still running").
Result<BakeResult> bake_board_locked(const std::wstring& folder, WallpaperApi& wallpaper);

}  // namespace glimmerly
