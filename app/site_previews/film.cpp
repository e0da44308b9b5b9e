#include "app/site_previews/film.h"

#include <cmath>

#include "app/app/editor_typing.h"
#include "app/board/board_files.h"
#include "app/demo/demo_surface.h"
#include "app/lib/folder_tree.h"
#include "app/session/image_save.h"
#include "app/win/failure.h"
#include "app/win/owners.h"
#include "app/win/paths.h"
#include "core/base/saturate.h"
#include "core/editor/cursor_choice.h"
#include "core/site_previews/film_track.h"
#include "ui/capture/editor_window_part.h"
#include "ui/view/frame_renderer.h"

namespace glimmerly {
namespace {

std::unique_ptr<WindowTyping> typing_for(HWND host, EditorState& state) {
    if (!host) return std::make_unique<WindowTyping>();
    return std::make_unique<EditorTyping>(host, state);
}

// A cursor missing from one frame would flicker in the film: a failed
// DrawIconEx gets two more tries with the same arguments.
constexpr int kCursorAttempts = 3;

Status draw_cursor_at(HDC dc, HCURSOR cursor, Point at) {
    ICONINFO info{};
    if (!GetIconInfo(cursor, &info)) return demo_gdi_failure("GetIconInfo");
    // GetIconInfo hands over copies of both bitmaps; the cursor stays shared.
    const win::UniqueBitmap mask(info.hbmMask), colour(info.hbmColor);
    const std::int32_t x = nearest_pixel(at.x), y = nearest_pixel(at.y);
    const int left = saturating_i32(static_cast<double>(x) - info.xHotspot);
    const int top = saturating_i32(static_cast<double>(y) - info.yHotspot);
    for (int attempt = 1;; ++attempt) {
        if (DrawIconEx(dc, left, top, cursor, 0, 0, 0, nullptr, DI_NORMAL)) return ok_status();
        if (attempt == kCursorAttempts) return demo_gdi_failure("DrawIconEx");
    }
}

Result<HCURSOR> film_cursor(Film& film, Point at) {
    const CursorId id = choose_capture_cursor(film.state, *film.typing, at);
    return film.cursors.cursor(id, cursor_size_for(film.host_window));
}

// The view with the pointer where the state says, as its window would show it.
Result<BgraImage> render_film_picture(Film& film, std::optional<HCURSOR> cursor) {
    EditorState& state = film.state;
    if (!editor_window_part(state).renderer.resources) GLIM_TRY(give_demo_renderer(state));
    auto surface = make_demo_surface(state.frame_width, state.frame_height);
    if (!surface) return std::move(surface).failure();
    GLIM_TRY(render_frame(state, surface->memory.get(), FrameOptions{.now = film_now(film)}));
    if (cursor) GLIM_TRY(draw_cursor_at(surface->memory.get(), *cursor, state.pointer));
    return opaque_copy(*surface);
}

}  // namespace

Film::Film(EditorState state_in, std::wstring frames_folder_in, HWND host_window_in, bool draw_cursor_in)
    : state(std::move(state_in)),
      frames_folder(std::move(frames_folder_in)),
      host_window(host_window_in),
      draw_cursor(draw_cursor_in),
      typing(typing_for(host_window_in, state)) {}

Film::~Film() { drop_film(*this); }

ChromeClock::time_point film_now(const Film& film) {
    return film.clock_start + kFilmFrameInterval * static_cast<std::int64_t>(film.pointer_track.size());
}

Result<OwnedWindow> create_site_preview_host(std::uint32_t width, std::uint32_t height) {
    OwnedWindow host(CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"Site preview", WS_POPUP, 0, 0,
                                     saturating_i32(width), saturating_i32(height), nullptr, nullptr, nullptr,
                                     nullptr));
    if (!host) return win::self_check_failure("CreateWindowExW", L"Site preview");
    return host;
}

Status create_frames_folder(const std::wstring& folder) {
    Status cleared = remove_tree(folder);
    if (!cleared) return plain_failure(cleared.failure().message);
    Status made = create_directories(folder);
    if (!made) return plain_failure(made.failure().message);
    return ok_status();
}

Status render_view_to_dib(Film& film, double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return invalid_input("The filmed pointer is not a finite point");
    const Point at{x, y};
    film.state.pointer = at;
    std::optional<HCURSOR> cursor;
    if (film.draw_cursor) {
        auto chosen = film_cursor(film, at);
        if (!chosen) return std::move(chosen).failure();
        cursor = *chosen;
    }
    auto picture = render_film_picture(film, cursor);
    if (!picture) return std::move(picture).failure();
    const std::wstring path =
        win::join_path(film.frames_folder, win::to_wide(frame_file_name(film.pointer_track.size())));
    GLIM_TRY(save_image_atomically(*picture, path, ImageFormat::Png));
    film.pointer_track.push_back(at);
    return ok_status();
}

Status hold_film_frames(Film& film, std::uint32_t n) {
    for (std::uint32_t i = 0; i < n; ++i) {
        const Point at = last_track_point(film.pointer_track);
        GLIM_TRY(render_view_to_dib(film, at.x, at.y));
    }
    return ok_status();
}

Status write_pointer_track(const Film& film) {
    const std::wstring path = win::join_path(film.frames_folder, win::to_wide(kPointerTrackName));
    Status written = write_whole_file(path, format_pointer_track(film.pointer_track));
    if (!written) return plain_failure(written.failure().message);
    return ok_status();
}

void drop_film(Film& film) {
    // The typing controls refer to the state: they go first.
    film.typing = std::make_unique<WindowTyping>();
    film.state = EditorState{};
    film.frames_folder.clear();
    film.frames_folder.shrink_to_fit();
    film.pointer_track = {};
}

}  // namespace glimmerly
