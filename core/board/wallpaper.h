#pragma once
// The desktop wallpaper per monitor, as the board reads and changes it, and
// the upkeep of the BoardBase from what the desktop shows.
//
// The platform sits behind WallpaperApi, a thin mirror of the calls of
// IDesktopWallpaper that the board uses; the Windows side has two of them
// (the shell's object, and the program's own layer where the shell has none).
// Everything decided here is platform-free and tested with a fake.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/result.h"
#include "core/board/board_base.h"
#include "core/board/board_names.h"
#include "core/board/board_page.h"

namespace glimmerly {

class WallpaperApi {
public:
    virtual ~WallpaperApi() = default;
    // GetMonitorDevicePathCount.
    virtual Result<std::uint32_t> monitor_count() = 0;
    // GetMonitorDevicePathAt: none for a null answer; the text unchanged.
    virtual Result<std::optional<std::u16string>> monitor_path_at(std::uint32_t index) = 0;
    // GetMonitorRECT, in desktop pixels.
    virtual Result<Box> monitor_rect(std::string_view id) = 0;
    // GetWallpaper: none for a null answer; the text unchanged (may be empty).
    virtual Result<std::optional<std::u16string>> wallpaper(std::string_view id) = 0;
    // SetWallpaper.
    virtual Status set_wallpaper(std::string_view id, std::u16string_view path) = 0;
    // GetPosition, the raw value.
    virtual Result<std::uint32_t> position() = 0;
    // SetPosition.
    virtual Status set_position(WallpaperPosition position) = 0;
    // GetBackgroundColor: a COLORREF, red in the low byte.
    virtual Result<std::uint32_t> background_colour() = 0;
};

struct MonitorWallpaper {
    std::string id;
    std::optional<std::u16string> wallpaper;  // none: the monitor shows no picture

    friend bool operator==(const MonitorWallpaper&, const MonitorWallpaper&) = default;
};

// The monitors in the platform's order. Ids that are null, not UTF-16,
// empty or holding white space, and monitors without a rectangle or with an
// empty one, are left out silently; only the count and path-at calls fail.
Result<std::vector<BoardScreen>> list_wallpaper_monitors(WallpaperApi& api);

// None for a null or empty answer.
Result<std::optional<std::u16string>> get_monitor_wallpaper(WallpaperApi& api, std::string_view id);
Result<std::vector<MonitorWallpaper>> read_monitor_wallpapers(WallpaperApi& api, std::span<const BoardScreen> monitors);
Status set_monitor_wallpaper(WallpaperApi& api, std::string_view id, std::u16string_view path);
// 6 and above read as fill.
Result<WallpaperPosition> get_wallpaper_position(WallpaperApi& api);
Result<Rgb> get_background_colour(WallpaperApi& api);

// A base made from the desktop: one screen per monitor with its wallpaper as
// image (none for a baked picture), the desktop's position and colour.
Result<BoardBase> capture_wallpaper_state(WallpaperApi& api, std::span<const BoardScreen> monitors);

// The position every bake sets: on a desktop left half-baked it is the
// program's, not the user's.
inline constexpr WallpaperPosition kBakedPosition = WallpaperPosition::Fill;

// Records, for each monitor that shows a picture of the user's, that picture
// as the user's image; whether the base changed. A monitor showing no
// picture leaves a recorded image alone: the restore empties a monitor whose
// picture is missing for a while, and an interrupted restore empties them
// all, so an empty desktop is never taken for the user's choice.
bool record_user_wallpapers(BoardBase& base, std::span<const MonitorWallpaper> wallpapers, const PathRules& rules);

// Whether the desktop sits on the style a bake sets while no monitor shows
// the board, after a bake that wrote "base.txt" and never recorded its end:
// the bake was cut off before its pictures, and the style is not the user's.
bool desktop_left_half_baked(const BoardBase& base, std::span<const MonitorWallpaper> wallpapers,
                             WallpaperPosition position, bool bake_unfinished, const PathRules& rules);

// record_user_wallpapers, and while any monitor does not show the board the
// desktop's position and colour are the user's own and replace the base's,
// but for a position left by an unfinished bake (desktop_left_half_baked).
bool update_base_from_desktop(BoardBase& base, std::span<const MonitorWallpaper> wallpapers,
                              WallpaperPosition position, Rgb colour, const PathRules& rules,
                              bool bake_unfinished = false);

// update_base_from_desktop with what the desktop shows now; on a failure the
// base is left as it was.
Result<bool> refresh_board_base(BoardBase& base, WallpaperApi& api, std::span<const BoardScreen> monitors,
                                const PathRules& rules, bool bake_unfinished = false);

// Whether every monitor shows the baked picture the base records for it
// (true without monitors).
Result<bool> wallpapers_match_base(const BoardBase& base, WallpaperApi& api, std::span<const BoardScreen> monitors,
                                   const PathRules& rules);

// The wallpaper style as "HKCU\Control Panel\Desktop" keeps it for the
// one desktop picture: "WallpaperStyle" (0 center, 2 stretch, 6 fit, 10 fill,
// 22 span) and "TileWallpaper" (1 tiles). The program's own wallpaper layer
// reads and writes these where the shell has no DesktopWallpaper object.
struct DesktopStyle {
    std::uint32_t style = 10;
    std::uint32_t tile = 0;

    friend bool operator==(const DesktopStyle&, const DesktopStyle&) = default;
};
// Absent or unknown values read as fill; tiling wins over any style.
WallpaperPosition position_from_desktop_style(std::optional<std::uint32_t> style, std::optional<std::uint32_t> tile);
DesktopStyle desktop_style_of(WallpaperPosition position);

}  // namespace glimmerly
