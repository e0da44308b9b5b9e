#include "app/board/board_leave.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "app/app/editor_session.h"
#include "app/app/error_box.h"
#include "app/app/settings_timers.h"
#include "app/board/board_editor.h"
#include "app/board/board_files.h"
#include "app/board/desktop_picture.h"
#include "app/board/desktop_render.h"
#include "app/board/desktop_wallpaper.h"
#include "app/lib/atomic_write.h"
#include "app/lib/program_folders.h"
#include "app/lib/run_app.h"
#include "app/win/paths.h"
#include "core/board/board_desktop.h"
#include "core/board/desktop_wait.h"
#include "core/document/object_transform.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kDesktopWait{1500};
constexpr std::chrono::milliseconds kDesktopPause{50};

// The editor's objects back in virtual-screen pixels.
BoardPage edited_page(EditorSession& session) {
    const EditorState& state = session.state();
    BoardPage page{state.objects, state.background, state.last_id};
    const PixelPoint origin = session.origin();
    for (SceneObject& object : page.objects) move_object_by(object, {double(origin.x), double(origin.y)});
    return page;
}

Status write_page(const BoardFile& board, const std::wstring& path) {
    auto text = write_board_file(board);
    if (!text) return std::move(text).failure();
    auto written = write_file_atomically(*text, path, false);
    if (!written) return std::move(written).failure();
    return ok_status();
}

// The notes alone, beside the page that could not take them.
Status keep_unsaved_notes(EditorSession& session) {
    BoardFile notes;
    merge_screen_objects(notes, edited_page(session), session.board()->monitors);
    return write_page(notes, win::join_path(session.board()->folder, win::from_u16(kUnsavedPageFileName)));
}

struct ShownPicture {
    std::string screen;
    BgraImage picture;
};

// The baked pictures the monitors show before the bake; any failure leaves
// the list empty, and the wait then compares with the composed desktop.
std::vector<ShownPicture> pictures_shown(WallpaperApi& wallpaper) {
    std::vector<ShownPicture> shown;
    auto monitors = list_wallpaper_monitors(wallpaper);
    if (!monitors) return {};
    for (const BoardScreen& monitor : *monitors) {
        auto path = get_monitor_wallpaper(wallpaper, monitor.name);
        if (!path) return {};
        if (!*path || !is_baked_picture_path(**path)) continue;
        if (auto picture = load_wallpaper_file(**path)) shown.push_back({monitor.name, std::move(picture).value()});
    }
    return shown;
}

struct Watched {
    std::vector<SamplePoint> points;
    MonitorPixels monitor;
    const BgraImage* picture = nullptr;
};

// Until the desktop shows every new picture, at most 1.5 s: leaving sooner,
// the user would see the old notes come back for a moment. The outcome is
// not told; a desktop that cannot be drawn ends the wait.
void wait_for_desktop(const BakeResult& baked, const std::vector<ShownPicture>& before) {
    const auto deadline = Clock::now() + kDesktopWait;
    std::vector<Watched> watched;
    for (const BakedPicture& picture : baked.pictures) {
        const auto monitor = std::find_if(baked.monitors.begin(), baked.monitors.end(),
                                          [&](const BoardScreen& m) { return m.name == picture.screen; });
        if (monitor == baked.monitors.end()) continue;
        const MonitorPixels rect = monitor_pixels(monitor->rect);
        const auto earlier = std::find_if(before.begin(), before.end(),
                                          [&](const ShownPicture& p) { return p.screen == picture.screen; });
        const BgraImage reference = earlier != before.end() ? earlier->picture : cut_monitor_area(baked.desktop, rect);
        auto points = changed_sample_points(reference, picture.picture);
        if (!points.empty()) watched.push_back({std::move(points), rect, &picture.picture});
    }
    while (!watched.empty()) {
        DesktopPicture rendering = baked.desktop;
        if (!render_desktop_window(rendering)) return;
        std::erase_if(watched, [&](const Watched& w) {
            return shows_picture(cut_monitor_area(rendering, w.monitor), *w.picture, w.points);
        });
        if (watched.empty() || Clock::now() >= deadline) return;
        std::this_thread::sleep_for(kDesktopPause);
    }
}

// The bake half of leaving; its failure is told and the session ends anyway.
Status bake_and_wait(App& app) {
    auto folder = ensure_board_dir();
    if (!folder) return std::move(folder).failure();
    auto wallpaper = create_desktop_wallpaper();
    if (!wallpaper) return std::move(wallpaper).failure();
    const std::vector<ShownPicture> before = pictures_shown(**wallpaper);
    auto baked = bake_board_locked(*folder, **wallpaper);
    if (!baked) return std::move(baked).failure();
    if (app.keeps_settings)
        if (Status stored = store_board_visibility(true); !stored) return settings_unsaved_error(stored.failure());
    app.settings.board_visible = true;
    wait_for_desktop(*baked, before);
    return ok_status();
}

void show_board_box(HWND window, TextId text, const Failure& failure) {
    show_message_box(window, localized_text(current_language(), text, {{"detail", format_error_text(failure)}}));
}

}  // namespace

Status save_board_page(App& app, HWND) {
    EditorSession* session = open_editor_session(app);
    if (!session || !session->board()) return ok_status();
    session->typing().commit_text_box();
    const BoardPage page = edited_page(*session);
    auto board = load_board_page(session->board()->folder);
    if (!board) return std::move(board).failure();
    merge_screen_objects(*board, page, session->board()->monitors);
    return write_page(*board, win::join_path(session->board()->folder, win::from_u16(kPageFileName)));
}

Result<BakeResult> bake_board_locked(const std::wstring& folder, WallpaperApi& wallpaper) {
    auto lock = lock_board_bake(kBakeWaitMs);
    if (!lock) return std::move(lock).failure();
    if (!*lock) return plain_failure("Another bake is still running");
    const win::HeldMutex held = std::move(**lock);
    return bake_board(folder, wallpaper, windows_path_rules());
}

void save_and_bake_board(App& app, HWND window, std::optional<TextId> text) {
    EditorSession* session = open_editor_session(app);
    if (session && session->board()) {
        if (Status saved = save_board_page(app, window); !saved) {
            // The notes must survive whatever the page on disk became; a
            // side file that cannot be written either leaves nothing better.
            const bool told = std::exchange(session->board()->save_failed, true);
            (void)keep_unsaved_notes(*session);
            if (!told) {
                show_board_box(window, TextId::error_board_unsaved, saved.failure());
                InvalidateRect(window, nullptr, FALSE);
                return;
            }
            leave_editor_session(app, window, std::nullopt);
            return;
        }
        if (Status baked = bake_and_wait(app); !baked) {
            show_board_box(window, TextId::error_wallpaper_unchanged, baked.failure());
            text.reset();
        }
    }
    leave_editor_session(app, window, text);
}

}  // namespace glimmerly
