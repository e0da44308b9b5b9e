#pragma once
// The files of the board folder on disk: "base.txt",
// "page-1.txt", the baked pictures' paths and "baked.txt", and the
// platform's rules for comparing wallpaper paths. The formats themselves are
// in core/board.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/base/result.h"
#include "core/board/board_base.h"
#include "core/board/board_names.h"
#include "core/board/wallpaper.h"

namespace glimmerly {

// LCMapStringEx (invariant locale) lower-casing, and GetFinalPathNameByHandleW
// of the opened folder as its canonical path.
const PathRules& windows_path_rules();

// None when "base.txt" does not exist; E_FAIL with the I/O text when it
// cannot be read; "error.board_base_damaged" for a damaged file, which is
// left untouched.
Result<std::optional<BoardBase>> read_board_base(const std::wstring& folder);
// The stored base, or, when the folder has none yet, what the desktop shows
// now on `monitors`.
Result<BoardBase> stored_or_captured_base(const std::wstring& folder, WallpaperApi& wallpaper,
                                          std::span<const BoardScreen> monitors);
// Whether "baked.txt" records the end of a bake of this base, the page on
// disk and these monitors. A bake removes it before it changes the desktop
// and writes it once every monitor has its picture and the style is set.
bool bake_recorded_finished(const std::wstring& folder, const BoardBase& base, std::span<const BoardScreen> monitors);
// As above for the page text the caller has already read (empty without a
// page), so that a page of up to 256 MiB is not held twice.
bool bake_recorded_finished(const std::wstring& folder, std::string_view page_text, const BoardBase& base,
                            std::span<const BoardScreen> monitors);
// The stored base brought in line with the desktop (refresh_board_base),
// with a desktop left on a bake's own style by a bake that never recorded
// its end kept from the user's record; without a stored base, what the
// desktop shows now.
Result<BoardBase> reconciled_board_base(const std::wstring& folder, WallpaperApi& wallpaper,
                                        std::span<const BoardScreen> monitors, const PathRules& rules);
// As above, judging the record of a finished bake against the page text the
// caller has already read.
Result<BoardBase> reconciled_board_base(const std::wstring& folder, std::string_view page_text,
                                        WallpaperApi& wallpaper, std::span<const BoardScreen> monitors,
                                        const PathRules& rules);
// Replaces "base.txt" atomically.
Status write_board_base(const BoardBase& base, const std::wstring& folder);
// The text of "page-1.txt"; none without the file; E_FAIL with the I/O text
// when it cannot be read.
Result<std::optional<std::string>> read_board_page_file(const std::wstring& folder);
// The text read, without a copy; empty for none.
std::string_view board_page_text(const std::optional<std::string>& page);
// One plain write of the whole buffer (create or truncate): "baked.txt",
// which a reader that finds it torn only takes for "bake again".
Status write_whole_file(const std::wstring& path, std::string_view bytes);
// The folder joined with "baked-<stem>.png", made absolute (a path with the
// verbatim prefix stays as it is).
Result<std::wstring> baked_picture_path(const std::wstring& folder, std::string_view screen_id);
// GetFullPathNameW, growing its buffer as the call asks.
Result<std::wstring> absolute_path(const std::wstring& path);

}  // namespace glimmerly
