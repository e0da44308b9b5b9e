#include "core/board/wallpaper_restore.h"

#include <utility>
#include <vector>

namespace glimmerly {
namespace {

// The first failure of the call is the one told; later ones follow from it.
void keep_first(std::optional<Failure>& pending, Status status) {
    if (!status && !pending) pending = std::move(status).failure();
}

}  // namespace

Status apply_wallpaper_base(const BoardBase& base, std::span<const BoardScreen> monitors, WallpaperApi& api,
                            const PathRules& rules, RestoreHost& host) {
    std::optional<Failure> pending;
    std::vector<std::optional<std::u16string>> expected;
    std::size_t restored = 0;
    for (const BoardScreen& monitor : monitors) {
        const BoardBaseScreen* screen = find_base_screen(base, monitor.name);
        if (screen && screen->image && host.image_exists(*screen->image)) {
            expected.push_back(screen->image);
            ++restored;
        } else {
            expected.push_back(std::nullopt);
        }
    }
    const auto set_expected = [&](bool only_mismatching, const std::vector<bool>& matching) {
        for (std::size_t i = 0; i < monitors.size(); ++i)
            if (expected[i] && !(only_mismatching && matching[i]))
                keep_first(pending, set_monitor_wallpaper(api, monitors[i].name, *expected[i]));
    };

    keep_first(pending, api.set_position(base.position));
    if (restored < monitors.size()) keep_first(pending, host.remove_all_wallpapers());
    set_expected(false, {});

    const auto deadline = host.now() + kRestoreDeadline;
    for (;;) {
        host.sleep(kRestorePause);
        std::vector<bool> matching;
        bool all = true, read = true;
        bool picture_missing = false;
        for (std::size_t i = 0; i < monitors.size(); ++i) {
            auto current = get_monitor_wallpaper(api, monitors[i].name);
            if (!current) {
                keep_first(pending, std::move(current).failure());
                read = false;
                break;
            }
            const bool same = same_wallpaper_path(expected[i], *current, rules);
            matching.push_back(same);
            all = all && same;
            if (!same && !expected[i]) picture_missing = true;
        }
        if (read && all) return ok_status();
        if (host.now() >= deadline) break;
        if (!read) continue;
        // Only the empty string takes a picture off a monitor, and it takes
        // every monitor's: the others then get theirs again.
        if (picture_missing) {
            keep_first(pending, host.remove_all_wallpapers());
            set_expected(false, matching);
        } else {
            set_expected(true, matching);
        }
    }
    if (pending) return std::move(*pending);
    return plain_failure("The desktop did not take the base back");
}

std::optional<BoardBase> match_screens_to_wallpaper_base(BoardBase base, std::span<const MonitorWallpaper> wallpapers,
                                                         WallpaperPosition position, Rgb colour,
                                                         const PathRules& rules, bool bake_unfinished) {
    if (wallpapers.empty()) return std::nullopt;
    bool shows_board = false;
    for (const MonitorWallpaper& monitor : wallpapers) {
        const BoardBaseScreen* screen = find_base_screen(base, monitor.id);
        const bool own = screen && screen->baked && same_wallpaper_path(monitor.wallpaper, screen->baked, rules);
        const bool any = monitor.wallpaper && is_program_picture_path(*monitor.wallpaper);
        shows_board = shows_board || own || any;
    }
    // The user's pictures on the bake's style: the style is given back too.
    if (!shows_board && !desktop_left_half_baked(base, wallpapers, position, bake_unfinished, rules))
        return std::nullopt;
    (void)update_base_from_desktop(base, wallpapers, position, colour, rules, bake_unfinished);
    return base;
}

}  // namespace glimmerly
