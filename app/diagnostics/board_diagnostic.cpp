#include "app/diagnostics/board_diagnostic.h"

#include <windows.h>

#include <vector>

#include "app/board/bake/restore.h"
#include "app/board/board_editor.h"
#include "app/board/board_files.h"
#include "app/board/board_leave.h"
#include "app/board/desktop_picture.h"
#include "app/board/desktop_render.h"
#include "app/board/desktop_wallpaper.h"
#include "app/board/wallpaper_layer.h"
#include "app/diagnostics/diagnostic_files.h"
#include "app/image/image_decoder.h"
#include "app/lib/folder_tree.h"
#include "app/render/renderer_resources.h"
#include "app/session/image_save.h"
#include "app/win/failure.h"
#include "app/win/paths.h"
#include "core/diagnostics/board_diagnostic_checks.h"
#include "core/diagnostics/diagnostic_report.h"

namespace glimmerly {
namespace {

constexpr wchar_t kReportPath[] = L"target\\board-diagnostics.txt";
constexpr wchar_t kDryRunFolder[] = L"target\\board-diagnostic";
constexpr wchar_t kSetRunFolder[] = L"board-diagnostic-set";
constexpr std::int32_t kClassNotRegistered = static_cast<std::int32_t>(0x80040154);

Failure io_failure(const char* what, const std::wstring& path) {
    return plain_failure(win::self_check_failure(what, path).message);
}

Status make_folder(const std::wstring& folder) {
    Status made = create_directories(folder);
    if (!made) return plain_failure(std::move(made).failure().message);
    return ok_status();
}

Status write_sample_page(const std::wstring& folder, std::span<const BoardScreen> monitors) {
    auto text = write_board_file(diagnostic_board_page(monitors));
    if (!text) return std::move(text).failure();
    const std::wstring path = win::join_path(folder, win::from_u16(kPageFileName));
    Status written = write_whole_file(path, *text);
    if (!written) return plain_failure(std::move(written).failure().message);
    return ok_status();
}

Result<std::wstring> set_run_folder() {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    if (size == 0) return io_failure("GetCurrentDirectoryW", L"");
    std::wstring current(size, L'\0');
    const DWORD length = GetCurrentDirectoryW(size, current.data());
    if (length == 0 || length >= size) return io_failure("GetCurrentDirectoryW", L"");
    current.resize(length);
    return win::join_path(win::join_path(current, L"target"), kSetRunFolder);
}

Status rendered_pictures_check(const std::wstring& folder, std::span<const BoardScreen> monitors,
                               const std::vector<BakedPicture>& pictures) {
    for (const BakedPicture& picture : pictures) {
        auto monitor = find_screen_for_picture(monitors, picture.screen);
        if (!monitor) return std::move(monitor).failure();
        GLIM_TRY(check_baked_picture(folder, **monitor, picture));
    }
    return ok_status();
}

}  // namespace

Result<std::unique_ptr<WallpaperApi>> diagnostic_wallpaper(const std::wstring& folder) {
    auto shell = create_shell_desktop_wallpaper();
    if (!shell && shell.failure().code == kClassNotRegistered) return create_wallpaper_layer(folder);
    return shell;
}

Result<std::vector<BoardScreen>> list_diagnostic_screens(WallpaperApi& wallpaper) {
    auto monitors = list_wallpaper_monitors(wallpaper);
    if (!monitors) return monitors;
    if (monitors->empty()) return plain_failure("No screen reported");
    return monitors;
}

Status check_baked_picture(const std::wstring& folder, const BoardScreen& monitor, const BakedPicture& picture) {
    auto path = baked_picture_path(folder, monitor.name);
    if (!path) return std::move(path).failure();
    GLIM_TRY(save_image_atomically(picture.picture, *path, ImageFormat::Png));
    auto read = load_image_file(*path);
    if (!read) return std::move(read).failure();
    return check_baked_pixels(*read, monitor);
}

Status run_board_diagnostic() {
    (void)DeleteFileW(kReportPath);
    const std::wstring folder = kDryRunFolder;
    GLIM_TRY(make_folder(folder));
    auto wallpaper = diagnostic_wallpaper(folder);
    if (!wallpaper) return std::move(wallpaper).failure();
    auto monitors = list_diagnostic_screens(**wallpaper);
    if (!monitors) return std::move(monitors).failure();

    auto base = capture_wallpaper_state(**wallpaper, *monitors);
    if (!base) return std::move(base).failure();
    GLIM_TRY(write_sample_page(folder, *monitors));
    auto board = load_board_page(folder);
    if (!board) return std::move(board).failure();
    const BoardPage page = join_screen_scenes(*board, *monitors);
    GLIM_TRY(ensure_condition(page.objects.size() == monitors->size(), "The board file did not give back every note"));

    auto desktop = compose_desktop_picture(*base, *monitors);
    if (!desktop) return std::move(desktop).failure();
    auto renderer = create_renderer_resources(true, false);
    if (!renderer) return std::move(renderer).failure();
    auto pictures = render_board_page(**renderer, *desktop, page, *monitors);
    if (!pictures) return std::move(pictures).failure();
    GLIM_TRY(rendered_pictures_check(folder, *monitors, *pictures));

    DesktopPicture rendered = *desktop;
    const bool desktop_rendered = render_desktop_window(rendered).ok();
    const std::string report = board_dry_run_report(monitors->size(), *base, pictures->size(),
                                                    win::to_utf8(folder), desktop_rendered);
    return write_report(kReportPath, report);
}

Status diagnostic_bake_step(const std::wstring& folder, WallpaperApi& wallpaper, std::span<const BoardScreen> monitors) {
    auto baked = bake_board_locked(folder, wallpaper);
    if (!baked) return std::move(baked).failure();
    auto base = read_board_base(folder);
    if (!base) return std::move(base).failure();
    if (!*base) return plain_failure("No base written");
    auto shown = wallpapers_match_base(**base, wallpaper, monitors, windows_path_rules());
    if (!shown) return std::move(shown).failure();
    return ensure_condition(*shown, "The desktop does not show the baked pictures");
}

Status base_given_back(const std::wstring& folder, WallpaperApi& wallpaper, std::span<const BoardScreen> monitors) {
    auto base = read_board_base(folder);
    if (!base) return std::move(base).failure();
    if (!*base) return plain_failure("No base");
    for (const BoardScreen& monitor : monitors) {
        const BoardBaseScreen* screen = find_base_screen(**base, monitor.name);
        const std::optional<std::u16string> expected = screen ? screen->image : std::nullopt;
        auto current = get_monitor_wallpaper(wallpaper, monitor.name);
        if (!current) return std::move(current).failure();
        if (!same_wallpaper_path(expected, *current, windows_path_rules()))
            return plain_failure("The base was not given back");
    }
    auto position = get_wallpaper_position(wallpaper);
    if (!position) return std::move(position).failure();
    return ensure_condition(*position == (*base)->position, "The base position was not given back");
}

namespace {

// Any failure while reading counts as "does not apply".
bool last_resort_wanted(const std::wstring& folder, WallpaperApi& wallpaper, std::span<const BoardScreen> monitors) {
    auto base = read_board_base(folder);
    if (!base || !*base) return false;
    std::vector<bool> shows;
    for (const BoardScreen& monitor : monitors) {
        auto current = get_monitor_wallpaper(wallpaper, monitor.name);
        if (!current) return false;
        const BoardBaseScreen* screen = find_base_screen(**base, monitor.name);
        shows.push_back(screen && screen->baked && same_wallpaper_path(screen->baked, *current, windows_path_rules()));
    }
    return last_resort_applies(**base, monitors, shows);
}

}  // namespace

Status check_base_restored(const std::wstring& folder, WallpaperApi& wallpaper, std::span<const BoardScreen> monitors) {
    Status first = base_given_back(folder, wallpaper, monitors);
    if (first) return first;
    if (!last_resort_wanted(folder, wallpaper, monitors)) return first;
    std::wstring empty;
    std::string second;
    if (!SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, empty.data(), SPIF_UPDATEINIFILE | SPIF_SENDCHANGE)) {
        const DWORD error = GetLastError();
        second = "the last-resort clear failed: " + win::system_message(hresult_from_win32(error));
    } else if (Status again = base_given_back(folder, wallpaper, monitors); again) {
        second = "the last-resort clear then gave it back";
    } else {
        second = "the last-resort clear did not help: " + again.failure().message;
    }
    return plain_failure(first.failure().message + "; " + second);
}

Status run_board_diagnostic_set() {
    (void)DeleteFileW(kReportPath);
    auto folder = set_run_folder();
    if (!folder) return std::move(folder).failure();
    GLIM_TRY(make_folder(*folder));
    const std::wstring base_path = win::join_path(*folder, win::from_u16(kBaseFileName));
    if (!DeleteFileW(base_path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
        return io_failure("DeleteFileW", base_path);
    auto wallpaper = diagnostic_wallpaper(*folder);
    if (!wallpaper) return std::move(wallpaper).failure();
    auto monitors = list_diagnostic_screens(**wallpaper);
    if (!monitors) return std::move(monitors).failure();
    GLIM_TRY(write_sample_page(*folder, *monitors));

    // Every step runs whatever the earlier ones gave, so that the wallpaper
    // is given back even after a failed bake.
    StepFailures failures;
    failures.record("bake", diagnostic_bake_step(*folder, **wallpaper, *monitors));
    failures.record("hide", restore_wallpaper_locked(*folder, **wallpaper));
    auto base = read_board_base(*folder);
    if (!base || *base) failures.record("check", check_base_restored(*folder, **wallpaper, *monitors));
    GLIM_TRY(failures.result());
    return write_report(kReportPath, kBoardSetRunReport);
}

}  // namespace glimmerly
