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
    // The shell may apply the empty string after pictures set behind it
    // (its change notice queued behind them on a busy machine): a picture
    // set before the removal has reached its monitor would be taken off
    // again. So while a removal of ours may still come, a monitor gets its
    // picture only once it shows none.
    bool removal_on_its_way = false;
    const auto remove_all = [&] {
        keep_first(pending, host.remove_all_wallpapers());
        removal_on_its_way = true;
    };
    // Every monitor that should show a picture and does not; none while it
    // still shows a picture from before a removal on its way.
    const auto set_pictures = [&](const std::vector<std::optional<std::u16string>>* shown) {
        for (std::size_t i = 0; i < monitors.size(); ++i) {
            if (!expected[i]) continue;
            if (shown && same_wallpaper_path(expected[i], (*shown)[i], rules)) continue;
            if (shown && removal_on_its_way && (*shown)[i]) continue;
            keep_first(pending, set_monitor_wallpaper(api, monitors[i].name, *expected[i]));
        }
    };

    keep_first(pending, api.set_position(base.position));
    if (restored < monitors.size())
        remove_all();
    else
        set_pictures(nullptr);

    const auto deadline = host.now() + kRestoreDeadline;
    std::vector<std::optional<std::u16string>> last;  // what the last whole look read
    bool some_empty = false;  // there, a monitor that should show a picture showed none
    // The removal is looked for at once: a desktop that took it gets the
    // pictures without a pause.
    for (bool first = true;; first = false) {
        if (!(first && removal_on_its_way)) host.sleep(kRestorePause);
        std::vector<std::optional<std::u16string>> shown;
        bool read = true, all = true, picture_missing = false, removal_shown = true;
        for (std::size_t i = 0; i < monitors.size(); ++i) {
            auto current = get_monitor_wallpaper(api, monitors[i].name);
            if (!current) {
                keep_first(pending, std::move(current).failure());
                read = false;
                break;
            }
            const bool same = same_wallpaper_path(expected[i], *current, rules);
            all = all && same;
            if (!same && *current) removal_shown = false;
            if (!same && !expected[i]) picture_missing = true;
            shown.push_back(std::move(current).value());
        }
        if (read && all) return ok_status();
        if (read) {
            if (removal_shown) removal_on_its_way = false;
            some_empty = false;
            for (std::size_t i = 0; i < monitors.size(); ++i)
                if (expected[i] && !shown[i]) some_empty = true;
            last = std::move(shown);
        }
        // Past the deadline the restore stops, but never while a monitor
        // that should show a picture shows none, or a removal of its own
        // may still take the pictures set after it, before the overrun ends.
        const auto now = host.now();
        const bool late = now >= deadline;
        if (late && ((!some_empty && !removal_on_its_way) || now >= deadline + kRestoreOverrun)) break;
        if (!read) continue;
        // Only the empty string takes a picture off a monitor, and it takes
        // every monitor's: the others then get theirs again once it shows.
        // None is sent past the deadline, with no time left to follow it.
        if (picture_missing && !removal_on_its_way && !late)
            remove_all();
        else
            set_pictures(&last);
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
