#include "app/board/bake/bake.h"

#include <chrono>

#include "app/board/board_files.h"
#include "app/board/desktop_picture.h"
#include "app/lib/mutex_names.h"
#include "app/render/capture_region.h"
#include "app/session/image_save.h"
#include "app/win/failure.h"
#include "app/win/paths.h"
#include "core/board/bake_fingerprint.h"
#include "core/board/board_file.h"
#include "core/document/object_transform.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

Result<std::optional<win::HeldMutex>> lock_board_bake(DWORD timeout_ms) {
    HANDLE handle = CreateMutexW(nullptr, FALSE, BOARD_BAKE_MUTEX);
    if (!handle || handle == INVALID_HANDLE_VALUE) return win::win32_failure("CreateMutexW", BOARD_BAKE_MUTEX);
    switch (WaitForSingleObject(handle, timeout_ms)) {
        case WAIT_OBJECT_0:
        case WAIT_ABANDONED: return std::optional<win::HeldMutex>(win::HeldMutex(handle));
        case WAIT_TIMEOUT: CloseHandle(handle); return std::optional<win::HeldMutex>();
        default: {
            const DWORD error = GetLastError();
            CloseHandle(handle);
            return win::win32_failure_code(error, "WaitForSingleObject", BOARD_BAKE_MUTEX);
        }
    }
}

Result<std::vector<BakedPicture>> render_board_page(RendererResources& renderer, const DesktopPicture& desktop,
                                                    const BoardPage& page, std::span<const BoardScreen> monitors) {
    const Point origin{double(desktop.x), double(desktop.y)};
    std::vector<SceneObject> objects = page.objects;
    for (SceneObject& object : objects) move_object_by(object, {-origin.x, -origin.y});
    std::vector<BakedPicture> pictures;
    for (const BoardScreen& monitor : monitors) {
        const Box region{monitor.rect.left - origin.x, monitor.rect.top - origin.y, monitor.rect.right - origin.x,
                         monitor.rect.bottom - origin.y};
        auto picture = render_capture_region(renderer, desktop.image, page.background, objects, region);
        if (!picture) return std::move(picture).failure();
        pictures.push_back({monitor.name, std::move(picture).value()});
    }
    return pictures;
}

Result<BakeResult> bake_board(const std::wstring& folder, WallpaperApi& wallpaper, const PathRules& rules,
                              BakeTimings* timings) {
    BakeTimings spent;
    auto monitors = list_wallpaper_monitors(wallpaper);
    if (!monitors) return std::move(monitors).failure();
    if (monitors->empty()) return plain_failure("No screen");

    auto page_text = read_board_page_file(folder);
    if (!page_text) return std::move(page_text).failure();
    BoardFile board;
    if (*page_text) {
        auto read = read_board_file(**page_text);
        if (!read) return std::move(read).failure();  // already text 187 or 188
        board = std::move(read).value();
    }

    // Written below whether or not it changed.
    // The page is read once: the record of a finished bake is judged against
    // this text, which the fingerprint below hashes where it lies.
    const std::string_view page = board_page_text(*page_text);
    auto reconciled = reconciled_board_base(folder, page, wallpaper, *monitors, rules);
    if (!reconciled) return std::move(reconciled).failure();
    BoardBase base = std::move(reconciled).value();

    auto start = Clock::now();
    auto desktop = compose_desktop_picture(base, *monitors);
    if (!desktop) return std::move(desktop).failure();
    spent.compose_ms = ms_since(start);

    start = Clock::now();
    auto renderer = create_renderer_resources(true, false);
    if (!renderer) return std::move(renderer).failure();
    const BoardPage joined = join_screen_scenes(board, *monitors);
    auto pictures = render_board_page(**renderer, *desktop, joined, *monitors);
    if (!pictures) return std::move(pictures).failure();
    spent.render_ms = ms_since(start);

    start = Clock::now();
    std::vector<std::pair<std::string, std::wstring>> baked;
    for (const BakedPicture& picture : *pictures) {
        auto path = baked_picture_path(folder, picture.screen);
        if (!path) return std::move(path).failure();
        GLIM_TRY(save_image_atomically(picture.picture, *path, ImageFormat::Png));
        if (BoardBaseScreen* screen = find_base_screen(base, picture.screen))
            screen->baked = win::to_u16(*path);
        else
            base.screens.push_back({picture.screen, std::nullopt, win::to_u16(*path)});
        baked.emplace_back(picture.screen, std::move(path).value());
    }
    spent.save_ms = ms_since(start);
    GLIM_TRY(write_board_base(base, folder));

    // Cut off anywhere from here, the desktop must not show a state that the
    // next reconciliation takes for the user's: without the record of a
    // finished bake, a desktop on the bake's style keeps the recorded
    // position; the pictures go first, so that a desktop on the bake's style
    // with the user's pictures is only ever an older version's half bake.
    const std::wstring finished = win::join_path(folder, win::from_u16(kBakedFingerprintFileName));
    if (!DeleteFileW(finished.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
        return win::win32_failure("DeleteFileW", finished);
    for (const auto& [id, path] : baked) GLIM_TRY(set_monitor_wallpaper(wallpaper, id, win::to_u16(path)));
    GLIM_TRY(wallpaper.set_position(kBakedPosition));

    const std::string fingerprint = bake_fingerprint(page, base, *monitors);
    if (Status written = write_whole_file(finished, fingerprint); !written)
        return error_from_io(std::move(written).failure().message);

    if (timings) *timings = spent;
    return BakeResult{std::move(monitors).value(), std::move(desktop).value(), std::move(pictures).value()};
}

}  // namespace glimmerly
