#pragma once
// The operations of parts of the program that are not built yet, behind the
// names their callers use. Each one that the user can reach says plainly
// that the feature is not available; the others do nothing, and say why.

#include <windows.h>

#include <string>
#include <string_view>

#include "core/base/result.h"

namespace glimmerly {

struct App;

// "This part of Glimmerly is not available in this version yet." in the
// user's language, with "<what> is not available ..." as its detail.
Failure not_available(std::string_view what);

Status start_board_editor_process();
Status start_board_bake_process();
// Whether the baked board has left the desktop: nothing is ever baked yet.
Result<bool> board_still_on_desktop(bool board_visible, bool display_changed);


// The board folder's own wallpaper given back: the board is not built.
Status restore_wallpaper(const std::wstring& board_folder);

}  // namespace glimmerly
