#include "app/board/board_editor.h"

#include <optional>
#include <vector>

#include "app/app/editor_session.h"
#include "app/board/bake/bake.h"
#include "app/board/board_files.h"
#include "app/board/desktop_picture.h"
#include "app/board/desktop_render.h"
#include "app/board/desktop_wallpaper.h"
#include "app/lib/program_folders.h"
#include "app/render/capture_region.h"
#include "app/render/renderer_resources.h"
#include "core/board/board_desktop.h"
#include "core/document/object_transform.h"
#include "core/editor/board_start.h"
#include "text/app_error.h"
#include "ui/capture/editor_window_part.h"

namespace glimmerly {
namespace {

// What each monitor shows now: a baked picture is read to be taken out again.
Result<std::vector<BoardDesktopMonitor>> monitors_now(WallpaperApi& wallpaper, std::span<const BoardScreen> monitors) {
    std::vector<BoardDesktopMonitor> found;
    for (const BoardScreen& monitor : monitors) {
        auto shown = get_monitor_wallpaper(wallpaper, monitor.name);
        if (!shown) return std::move(shown).failure();
        BoardDesktopMonitor entry{monitor_pixels(monitor.rect)};
        if (*shown && is_baked_picture_path(**shown)) {
            entry.shows_bake = true;
            // Unreadable counts as no bake: the monitor shows its base.
            if (auto baked = load_wallpaper_file(**shown)) entry.baked = std::move(baked).value();
        }
        found.push_back(std::move(entry));
    }
    return found;
}

}  // namespace

// Under the bake mutex, so that no half-finished bake is compared.
Result<OpenedDesktop> open_board_desktop(const std::wstring& folder, WallpaperApi& wallpaper,
                                         const DesktopRenderer& render) {
    auto lock = lock_board_bake(kBakeWaitMs);
    if (!lock) return std::move(lock).failure();
    if (!*lock) return plain_failure("Another bake is still running");
    const win::HeldMutex held = std::move(**lock);

    auto monitors = list_wallpaper_monitors(wallpaper);
    if (!monitors) return std::move(monitors).failure();
    // Without a monitor there is no desktop to put notes on.
    if (monitors->empty()) return make_app_error(TextId::error_board_unopened);
    auto reconciled = reconciled_board_base(folder, wallpaper, *monitors, windows_path_rules());
    if (!reconciled) return std::move(reconciled).failure();
    const BoardBase base = std::move(reconciled).value();
    GLIM_TRY(write_board_base(base, folder));
    auto composed = compose_desktop_picture(base, *monitors);
    if (!composed) return std::move(composed).failure();

    // Without the desktop window (Wine has none) the base alone is shown,
    // and what the monitors show is not needed.
    std::optional<DesktopPicture> rendered = *composed;
    std::vector<BoardDesktopMonitor> shown;
    if (render(*rendered)) {
        auto now = monitors_now(wallpaper, *monitors);
        if (!now) return std::move(now).failure();
        shown = std::move(now).value();
    } else {
        rendered.reset();
    }
    BoardDesktop desktop = prepare_board_desktop(*composed, std::move(rendered), shown);
    return OpenedDesktop{std::move(monitors).value(), std::move(desktop)};
}

Result<BoardFile> load_board_page(const std::wstring& folder) {
    auto text = read_board_page_file(folder);
    if (!text) return std::move(text).failure();
    if (!*text) return BoardFile{};
    return read_board_file(**text);  // its refusals are the board's own texts
}

Status run_board_editor(App& app, HWND window) {
    auto folder = ensure_board_dir();
    if (!folder) return std::move(folder).failure();
    auto wallpaper = create_desktop_wallpaper();
    if (!wallpaper) return std::move(wallpaper).failure();
    auto opened = open_board_desktop(*folder, **wallpaper, render_desktop_window);
    if (!opened) return std::move(opened).failure();
    wallpaper->reset();

    auto page = load_board_page(*folder);
    if (!page) return std::move(page).failure();
    const DesktopPicture& desktop = opened->desktop.desktop;
    const PixelPoint origin{desktop.x, desktop.y};
    BoardPage joined = join_screen_scenes(*page, opened->monitors);
    Scene scene;
    scene.objects = std::move(joined.objects);
    scene.background = std::move(joined.background);
    scene.last = joined.last;
    // The page keeps virtual-screen pixels, the editor the picture's.
    for (SceneObject& object : scene.objects) move_object_by(object, {-double(origin.x), -double(origin.y)});

    if (desktop.image.width == 0 || desktop.image.height == 0 || desktop.image.pixels.empty())
        return make_app_error(TextId::error_board_unopened);
    auto resources = create_renderer_resources(false, false);
    if (!resources) return std::move(resources).failure();
    GLIM_TRY(set_background_image(**resources, desktop.image));
    GLIM_TRY(cache_image_bitmap(**resources, std::move(opened->desktop.overlay)));
    EditorState state = new_editor_state_for_scene(std::move(opened->desktop.desktop.image), std::move(scene),
                                                   enumerate_monitors(origin));
    editor_window_part(state).renderer.resources = std::move(*resources);
    GLIM_TRY(install_editor_state(app, window, std::move(state), origin));
    open_editor_session(app)->board() = BoardSession{std::move(opened->monitors), std::move(folder).value()};
    return ok_status();
}

}  // namespace glimmerly
