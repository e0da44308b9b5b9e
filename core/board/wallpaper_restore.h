#pragma once
// Giving each monitor back the wallpaper it showed before the board was
// baked into it, as "base.txt" records it, and checking that the desktop
// took it: the shell applies a wallpaper late, and sometimes not at all
// when several are set in a row, so what it shows is read back and set
// again until it holds or two seconds have passed (up to two more while a
// monitor that should show a picture shows none).

#include <chrono>
#include <optional>
#include <span>
#include <string>

#include "core/base/result.h"
#include "core/board/board_base.h"
#include "core/board/wallpaper.h"

namespace glimmerly {

// What the restore needs of the platform besides the wallpaper object.
class RestoreHost {
public:
    using Clock = std::chrono::steady_clock;
    virtual ~RestoreHost() = default;
    // SPI_SETDESKWALLPAPER with the empty string: no picture on any monitor.
    virtual Status remove_all_wallpapers() = 0;
    // The path names a file (not a folder) whose metadata can be read.
    virtual bool image_exists(const std::u16string& path) = 0;
    virtual Clock::time_point now() = 0;
    virtual void sleep(Clock::duration wait) = 0;
};

inline constexpr std::chrono::milliseconds kRestoreDeadline{2000};
inline constexpr std::chrono::milliseconds kRestorePause{250};
// Past the deadline, the longest the restore goes on waiting while a
// monitor that should show a picture shows none, or the removal it sent
// has not shown yet.
inline constexpr std::chrono::milliseconds kRestoreOverrun{2000};

// Each monitor gets the recorded image of its screen when the file is
// there, and no picture otherwise; the base's position is set, its colour
// is not. A removal (the empty string) goes first, and a monitor gets its
// picture once the removal has reached it, so that a removal the shell
// applies late never takes a picture set after it. No removal is sent past
// the deadline, and while a monitor that should show a picture shows none,
// or a removal has not reached the monitors yet, the restore goes on past
// the deadline, up to the overrun, setting the picture again.
// Succeeds once every monitor reads back what it should show (a failure met
// on the way is then forgotten); otherwise fails with the first failure
// met, else "The desktop did not take the base back", the desktop then
// showing the user's pictures or the board's.
Status apply_wallpaper_base(const BoardBase& base, std::span<const BoardScreen> monitors, WallpaperApi& api,
                            const PathRules& rules, RestoreHost& host);

// The base brought in line with the desktop (update_base_from_desktop), for
// a restore, when some monitor still shows the board (its own baked picture
// or any picture of the program's) or the desktop was left half-baked
// (desktop_left_half_baked); none when neither, or there is no monitor: the
// user's wallpaper is on the desktop already and nothing is given back.
std::optional<BoardBase> match_screens_to_wallpaper_base(BoardBase base, std::span<const MonitorWallpaper> wallpapers,
                                                         WallpaperPosition position, Rgb colour,
                                                         const PathRules& rules, bool bake_unfinished = false);

}  // namespace glimmerly
