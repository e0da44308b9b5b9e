#include "core/board/wallpaper.h"

#include "core/base/utf.h"

namespace glimmerly {
namespace {

// Strict: an unpaired surrogate makes the id unusable, since the platform
// would not know the lossy form back.
std::optional<std::string> strict_utf8(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return std::nullopt;
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return std::nullopt;
        }
    }
    return utf16_to_utf8(text);
}

// A monitor shows the board when it shows its recorded baked picture or any
// baked picture.
bool shows_board(const BoardBase& base, const MonitorWallpaper& monitor, const PathRules& rules) {
    if (!monitor.wallpaper) return false;
    if (const BoardBaseScreen* screen = find_base_screen(base, monitor.id);
        screen && screen->baked && same_wallpaper_path(screen->baked, monitor.wallpaper, rules))
        return true;
    return is_program_picture_path(*monitor.wallpaper);
}

bool shows_no_board(const BoardBase& base, std::span<const MonitorWallpaper> wallpapers, const PathRules& rules) {
    for (const MonitorWallpaper& monitor : wallpapers)
        if (shows_board(base, monitor, rules)) return false;
    return true;
}

}  // namespace

Result<std::vector<BoardScreen>> list_wallpaper_monitors(WallpaperApi& api) {
    auto count = api.monitor_count();
    if (!count) return std::move(count).failure();
    std::vector<BoardScreen> monitors;
    for (std::uint32_t index = 0; index < *count; ++index) {
        auto path = api.monitor_path_at(index);
        if (!path) return std::move(path).failure();
        if (!*path) continue;
        const auto id = strict_utf8(**path);
        if (!id || !is_valid_screen_id(*id)) continue;
        const auto rect = api.monitor_rect(*id);
        if (!rect || !(rect->left < rect->right) || !(rect->top < rect->bottom)) continue;
        monitors.push_back({*id, *rect});
    }
    return monitors;
}

Result<std::optional<std::u16string>> get_monitor_wallpaper(WallpaperApi& api, std::string_view id) {
    auto path = api.wallpaper(id);
    if (!path) return std::move(path).failure();
    if (!*path || (*path)->empty()) return std::optional<std::u16string>();
    return std::move(path).value();
}

Result<std::vector<MonitorWallpaper>> read_monitor_wallpapers(WallpaperApi& api, std::span<const BoardScreen> monitors) {
    std::vector<MonitorWallpaper> wallpapers;
    for (const BoardScreen& monitor : monitors) {
        auto path = get_monitor_wallpaper(api, monitor.name);
        if (!path) return std::move(path).failure();
        wallpapers.push_back({monitor.name, std::move(path).value()});
    }
    return wallpapers;
}

Status set_monitor_wallpaper(WallpaperApi& api, std::string_view id, std::u16string_view path) {
    return api.set_wallpaper(id, path);
}

Result<WallpaperPosition> get_wallpaper_position(WallpaperApi& api) {
    auto raw = api.position();
    if (!raw) return std::move(raw).failure();
    return wallpaper_position_from(*raw);
}

Result<Rgb> get_background_colour(WallpaperApi& api) {
    auto colour = api.background_colour();
    if (!colour) return std::move(colour).failure();
    return unpack_rgb(*colour);
}

Result<BoardBase> capture_wallpaper_state(WallpaperApi& api, std::span<const BoardScreen> monitors) {
    auto wallpapers = read_monitor_wallpapers(api, monitors);
    if (!wallpapers) return std::move(wallpapers).failure();
    auto position = get_wallpaper_position(api);
    if (!position) return std::move(position).failure();
    auto colour = get_background_colour(api);
    if (!colour) return std::move(colour).failure();
    BoardBase base;
    for (const MonitorWallpaper& monitor : *wallpapers)
        base.screens.push_back({monitor.id, user_wallpaper_path(monitor.wallpaper), std::nullopt});
    base.position = *position;
    base.colour = *colour;
    return base;
}

bool record_user_wallpapers(BoardBase& base, std::span<const MonitorWallpaper> wallpapers, const PathRules& rules) {
    bool changed = false;
    for (const MonitorWallpaper& monitor : wallpapers) {
        BoardBaseScreen* screen = find_base_screen(base, monitor.id);
        if (!screen) {
            base.screens.push_back({monitor.id, user_wallpaper_path(monitor.wallpaper), std::nullopt});
            changed = true;
            continue;
        }
        if (screen->baked && same_wallpaper_path(screen->baked, monitor.wallpaper, rules)) continue;
        if (!user_wallpaper_path(monitor.wallpaper)) continue;
        if (!same_wallpaper_path(monitor.wallpaper, screen->image, rules)) {
            screen->image = monitor.wallpaper;
            changed = true;
        }
    }
    return changed;
}

bool desktop_left_half_baked(const BoardBase& base, std::span<const MonitorWallpaper> wallpapers,
                             WallpaperPosition position, bool bake_unfinished, const PathRules& rules) {
    return bake_unfinished && position == kBakedPosition && base.position != kBakedPosition &&
           shows_no_board(base, wallpapers, rules);
}

bool update_base_from_desktop(BoardBase& base, std::span<const MonitorWallpaper> wallpapers,
                              WallpaperPosition position, Rgb colour, const PathRules& rules, bool bake_unfinished) {
    bool every_shows_board = true;
    for (const MonitorWallpaper& monitor : wallpapers)
        if (!shows_board(base, monitor, rules)) every_shows_board = false;
    const bool half_baked = desktop_left_half_baked(base, wallpapers, position, bake_unfinished, rules);
    const bool recorded = record_user_wallpapers(base, wallpapers, rules);
    if (every_shows_board) return recorded;
    if (half_baked) position = base.position;
    if (base.position != position || base.colour != colour) {
        base.position = position;
        base.colour = colour;
        return true;
    }
    return recorded;
}

Result<bool> refresh_board_base(BoardBase& base, WallpaperApi& api, std::span<const BoardScreen> monitors,
                                const PathRules& rules, bool bake_unfinished) {
    auto wallpapers = read_monitor_wallpapers(api, monitors);
    if (!wallpapers) return std::move(wallpapers).failure();
    auto position = get_wallpaper_position(api);
    if (!position) return std::move(position).failure();
    auto colour = get_background_colour(api);
    if (!colour) return std::move(colour).failure();
    return update_base_from_desktop(base, *wallpapers, *position, *colour, rules, bake_unfinished);
}

Result<bool> wallpapers_match_base(const BoardBase& base, WallpaperApi& api, std::span<const BoardScreen> monitors,
                                   const PathRules& rules) {
    for (const BoardScreen& monitor : monitors) {
        auto current = get_monitor_wallpaper(api, monitor.name);
        if (!current) return std::move(current).failure();
        const BoardBaseScreen* screen = find_base_screen(base, monitor.name);
        if (!screen || !screen->baked || !same_wallpaper_path(screen->baked, *current, rules)) return false;
    }
    return true;
}

WallpaperPosition position_from_desktop_style(std::optional<std::uint32_t> style, std::optional<std::uint32_t> tile) {
    if (tile == 1u) return WallpaperPosition::Tile;
    if (!style) return WallpaperPosition::Fill;
    switch (*style) {
        case 0: return WallpaperPosition::Center;
        case 2: return WallpaperPosition::Stretch;
        case 6: return WallpaperPosition::Fit;
        case 22: return WallpaperPosition::Span;
        default: return WallpaperPosition::Fill;
    }
}

DesktopStyle desktop_style_of(WallpaperPosition position) {
    switch (position) {
        case WallpaperPosition::Center: return {0, 0};
        case WallpaperPosition::Tile: return {0, 1};
        case WallpaperPosition::Stretch: return {2, 0};
        case WallpaperPosition::Fit: return {6, 0};
        case WallpaperPosition::Fill: return {10, 0};
        case WallpaperPosition::Span: return {22, 0};
    }
    return {10, 0};
}

}  // namespace glimmerly
