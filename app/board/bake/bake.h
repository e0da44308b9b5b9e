#pragma once
// The bake: the notes of the board page drawn over each
// monitor's own wallpaper, saved as "baked-<stem>.png" in the board folder
// and set as that monitor's wallpaper, with "base.txt" recording what each
// screen showed before and "baked.txt" the fingerprint of what was baked.
// Whoever bakes holds the bake mutex (Local\Glimmerly.BoardBake).

#include <windows.h>

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/render/renderer_resources.h"
#include "app/win/owners.h"
#include "core/base/result.h"
#include "core/board/board_page.h"
#include "core/board/wallpaper.h"
#include "core/board/wallpaper_picture.h"

namespace glimmerly {

// The waits of the bake mutex's holders.
inline constexpr DWORD kBakeWaitMs = 10000;
inline constexpr DWORD kBakeCommandWaitMs = 60000;

// The held mutex; none when the wait timed out; the error when the mutex
// cannot be made or the wait fails. An abandoned mutex counts as held.
Result<std::optional<win::HeldMutex>> lock_board_bake(DWORD timeout_ms);

struct BakedPicture {
    std::string screen;
    BgraImage picture;  // the monitor's size
};

struct BakeResult {
    std::vector<BoardScreen> monitors;
    DesktopPicture desktop;
    std::vector<BakedPicture> pictures;  // monitor order
};

// Where a bake spent its time, for the benchmark.
struct BakeTimings {
    double compose_ms = 0;
    double render_ms = 0;
    double save_ms = 0;
};

// Bakes the page of `folder` onto the desktop behind `wallpaper`. The caller
// holds the bake mutex and has initialised COM apartment-threaded. A failure
// at any step is returned at once; what earlier steps wrote stays, and
// "baked.txt" is written only after every wallpaper was set.
Result<BakeResult> bake_board(const std::wstring& folder, WallpaperApi& wallpaper, const PathRules& rules,
                              BakeTimings* timings = nullptr);

// Each monitor's part of the desktop picture with the page's objects (in
// desktop coordinates) drawn on it, in monitor order.
Result<std::vector<BakedPicture>> render_board_page(RendererResources& renderer, const DesktopPicture& desktop,
                                                    const BoardPage& page, std::span<const BoardScreen> monitors);

}  // namespace glimmerly
