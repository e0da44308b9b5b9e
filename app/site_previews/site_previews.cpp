#include "app/site_previews/site_previews.h"

#include "app/image/image_decoder.h"
#include "app/session/image_save.h"
#include "app/presentation/demo.h"
#include "app/presentation/presentation_demo.h"
#include "app/site_previews/board_film.h"
#include "app/site_previews/capture_film.h"
#include "app/site_previews/capture_films.h"
#include "app/site_previews/scripted_input.h"
#include "app/site_previews/support_heart_film.h"
#include "app/win/paths.h"
#include "core/editor/editor_state.h"
#include "core/site_previews/board_film_checks.h"
#include "core/site_previews/site_preview_script.h"

namespace glimmerly {
namespace {

Status write_capture_picture(const BgraImage& capture, const std::wstring& path) {
    auto scene = build_capture_scene(capture);
    if (!scene) return std::move(scene).failure();
    auto picture = render_state_picture(capture.width, capture.height, *scene);
    if (!picture) return std::move(picture).failure();
    return save_image_atomically(*picture, path, ImageFormat::Png);
}

Status record_editing_film_over(const BgraImage& capture, const std::wstring& frames_folder) {
    auto scene = build_capture_scene(capture);
    if (!scene) return std::move(scene).failure();
    scene->tool = Tool::Select;
    return record_editing_film(std::move(*scene), frames_folder);
}

// The judgement of one input picture's claimed size, for its header and
// again as it is decoded.
ImageSizeCheck site_input_size(std::string_view file) {
    return [file](std::uint32_t width, std::uint32_t height) { return check_site_input_size(file, width, height); };
}

// Every input picture is judged from its first bytes before anything is
// drawn or decoded: a 783 KB PNG claiming 16384 x 16384 took 7.97 GB and
// 176 s to decode as the presentation picture, and a missing or non-PNG
// presentation or board picture failed only when its turn came, after
// 1,510 files and well over two minutes of films.
Status check_site_input_headers(const std::wstring& in) {
    for (const std::string_view file : kSiteInputPictures) {
        auto head = read_png_head(win::join_path(in, win::to_wide(file)));
        if (!head) return std::move(head).failure();
        GLIM_TRY(check_site_input_header(file, *head));
    }
    return ok_status();
}

// The board film's three pictures, read in this order; the icons'
// colours premultiplied by their alpha as they are read.
Result<BoardFilmPictures> read_board_film_pictures(const std::wstring& in) {
    BoardFilmPictures pictures;
    auto wallpaper = read_desktop_board_picture(in, L"wallpaper");
    if (!wallpaper) return std::move(wallpaper).failure();
    pictures.wallpaper = std::move(*wallpaper);
    auto icons = read_desktop_board_picture(in, L"icons");
    if (!icons) return std::move(icons).failure();
    pictures.icons = premultiply_alpha(std::move(*icons));
    auto screen = read_desktop_board_picture(in, L"screen");
    if (!screen) return std::move(screen).failure();
    pictures.screen = std::move(*screen);
    return pictures;
}

}  // namespace

Status render_site_previews(const std::wstring& in, const std::wstring& out) {
    const auto in_path = [&](const wchar_t* name) { return win::join_path(in, name); };
    const auto out_path = [&](const wchar_t* name) { return win::join_path(out, name); };

    GLIM_TRY(check_site_input_headers(in));
    auto capture = load_image_file(in_path(L"desktop-capture.png"), site_input_size(kSiteCapturePicture));
    if (!capture) return std::move(capture).failure();
    GLIM_TRY(write_capture_picture(*capture, out_path(L"capture.png")));
    GLIM_TRY(record_eyedropper_film(*capture, out_path(L"eyedropper-frames")));
    GLIM_TRY(record_editing_film_over(*capture, out_path(L"editing-frames")));
    GLIM_TRY(film_capture(*capture, out_path(L"capture-frames")));
    capture = BgraImage{};
    GLIM_TRY(film_support_heart(out_path(L"support-heart-frames")));

    {
        auto presentation = load_image_file(in_path(L"desktop-presentation.png"),
                                            site_input_size(kSitePresentationPicture));
        if (!presentation) return std::move(presentation).failure();
        GLIM_TRY(render_presentation_picture(*presentation, out_path(L"presentation.png")));
        GLIM_TRY(render_presentation_demo(*presentation, out_path(L"presentation-frames")));
    }

    auto board = read_board_film_pictures(in);
    if (!board) return std::move(board).failure();
    return film_board(*board, out_path(L"board-frames"));
}

Status render_presentation_picture(const BgraImage& picture, const std::wstring& path) {
    // The layers are destroyed with their owners on every path.
    const std::array<SampleShape, 3> shapes{{
        {ObjectKind::Rectangle, {572, 136}, {834, 300}, 1.0f},
        {ObjectKind::Arrow, {350, 130}, {556, 176}, 1.0f},
        {ObjectKind::Ellipse, {138, 226}, {562, 314}, 0.4f},
    }};
    auto sample = render_presentation_sample(picture.width, picture.height, shapes);
    if (!sample) return std::move(sample).failure();
    auto composed = composite_layers(
        picture, {{*sample->shapes, 0, 0}, {*sample->halo, 668, 184}, {*sample->devices, 410, 352}});
    if (!composed) return std::move(composed).failure();
    return save_image_atomically(*composed, path, ImageFormat::Png);
}

}  // namespace glimmerly
