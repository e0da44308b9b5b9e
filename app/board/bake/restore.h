#pragma once
// The user's own wallpaper given back: by the resident when the board is
// hidden, and by "--restore-wallpaper". Both hold the bake mutex for the
// whole restore, its check of the desktop included, so a bake waits for it.
// The board folder's files stay: a later bake finds its base again.

#include <memory>
#include <string>

#include "core/base/result.h"
#include "core/board/wallpaper.h"

namespace glimmerly {

// Gives back what "base.txt" records, once the base has learnt what the
// desktop shows now: a wallpaper the user chose since the last bake is
// kept, and a desktop that no longer shows the board is left alone. No
// base: nothing to do.
Status restore_wallpaper_locked(const std::wstring& folder, WallpaperApi& wallpaper);
// restore_wallpaper_locked for a caller that holds the bake mutex already.
Status give_board_base_back(const std::wstring& folder, WallpaperApi& wallpaper);
// restore_wallpaper_locked with the desktop's wallpaper object.
Status restore_wallpaper(const std::wstring& folder);

// The resident's timer check: true when a bake process must start. Hidden:
// false; a bake asked for (a display change): true; neither touches the
// desktop. Otherwise whether some monitor no longer shows the baked picture
// "base.txt" records (false without a base). Takes no mutex.
Result<bool> board_needs_bake(bool board_shown, bool bake_requested);

}  // namespace glimmerly
