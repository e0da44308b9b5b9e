#include "app/site_previews/board_film.h"

#include <variant>

#include "app/board/bake/bake.h"
#include "app/image/image_decoder.h"
#include "app/render/capture_region.h"
#include "app/render/renderer_resources.h"
#include "app/session/image_save.h"
#include "app/site_previews/film.h"
#include "app/site_previews/scripted_input.h"
#include "app/win/paths.h"
#include "core/editor/board_start.h"
#include "core/editor/editor_input.h"
#include "core/editor/toolbar.h"
#include "core/site_previews/board_film_checks.h"
#include "core/site_previews/scripted_moves.h"
#include "core/site_previews/site_preview_script.h"
#include "ui/capture/editor_window_part.h"

namespace glimmerly {
namespace {

constexpr Point kRestingPointer{620, 360};
constexpr Rgb kZoneColour{80, 153, 244};
constexpr Rgb kNoteColour{245, 245, 248};
constexpr double kBoardStrokeWidth = 4.0;
constexpr float kBoardTextSize = 26.0f;
constexpr std::string_view kBoardScreenName = "film";

// The board editor over the desktop as the shell shows it, the icons drawn
// again above the notes, as the board process opens it.
Result<EditorState> board_editor_state(const BoardFilmPictures& pictures) {
    BgraImage desktop = composite_premultiplied(pictures.wallpaper, pictures.icons);
    auto resources = create_renderer_resources(false, false);
    if (!resources) return std::move(resources).failure();
    GLIM_TRY(set_background_image(**resources, desktop));
    GLIM_TRY(cache_image_bitmap(**resources, pictures.icons));
    EditorState state = new_editor_state_for_scene(std::move(desktop), Scene{}, {});
    editor_window_part(state).renderer.resources = std::move(*resources);
    state.stroke_width = kBoardStrokeWidth;
    state.color = kZoneColour;
    state.monitor_areas.clear();
    state.text_size = kBoardTextSize;
    return state;
}

Status write_note(Film& film, std::string_view text, Point at, bool commit) {
    GLIM_TRY(glide_pointer_to(film, at, 12));
    GLIM_TRY(click_pointer(film));
    GLIM_TRY(glide_pointer_to(film, {at.x - 26, at.y + 30}, 5));
    GLIM_TRY(type_into_text_field(film, with_carriage_returns(text)));
    GLIM_TRY(hold_film_frames(film, 6));
    if (commit && film.typing->text_box_open() && !film.state.colour_picker && !film.state.eyedropper_armed)
        film.typing->commit_text_box();
    return ok_status();
}

Status run_board_script(Film& film, const BgraImage& screen) {
    GLIM_TRY(hold_picture_frames(film, screen));
    GLIM_TRY(render_view_to_dib(film, kRestingPointer.x, kRestingPointer.y));
    GLIM_TRY(hold_film_frames(film, 12));

    // The board opens with the arrow, which has no inside for the bucket to
    // fill: the zones are drawn as rectangles.
    GLIM_TRY(click_toolbar_button(film, tool_action(Tool::Rectangle)));
    for (const BoardFilmZone& zone : board_film_zones()) {
        GLIM_TRY(glide_pointer_to(film, zone.pressed, 12));
        GLIM_TRY(press_pointer(film));
        GLIM_TRY(glide_pointer_to(film, zone.released, 14));
        release_pointer(film);
        GLIM_TRY(hold_film_frames(film, 4));
    }
    GLIM_TRY(click_toolbar_button(film, pack_editor_action(EditorActionCode::FillMode)));
    for (const BoardFilmZone& zone : board_film_zones()) {
        GLIM_TRY(glide_pointer_to(film, zone.bucket, 10));
        GLIM_TRY(click_pointer(film));
        GLIM_TRY(hold_film_frames(film, 6));
    }

    GLIM_TRY(click_toolbar_button(film, tool_action(Tool::Text)));
    GLIM_TRY(click_toolbar_button(film, colour_action(kNoteColour)));
    for (const BoardFilmZone& zone : board_film_zones()) GLIM_TRY(write_note(film, zone.note, zone.note_at, true));
    // Left open: the arrow tool's button ends it as a user's click would.
    GLIM_TRY(write_note(film, kBoardFilmTodoNote, kBoardFilmTodoAt, false));

    GLIM_TRY(click_toolbar_button(film, tool_action(Tool::Arrow)));
    GLIM_TRY(glide_pointer_to(film, {550, 84}, 12));
    GLIM_TRY(press_pointer(film));
    GLIM_TRY(glide_pointer_to(film, {462, 78}, 14));
    release_pointer(film);
    GLIM_TRY(hold_film_frames(film, 6));
    GLIM_TRY(glide_pointer_to(film, kRestingPointer, 12));
    return hold_film_frames(film, 8);
}

Status check_session(Film& film) {
    const std::vector<SceneObject>& objects = film.state.objects.list();
    const std::string_view notes[] = {board_film_zones()[0].note, board_film_zones()[1].note, kBoardFilmTodoNote};
    if (objects.size() != 6 || !texts_match(objects, notes))
        return plain_failure("the notes are not the six the film draws");
    if (objects[0].fill.empty() || objects[1].fill.empty()) return plain_failure("the bucket did not fill a zone");
    const std::vector<Box> panels = toolbar_panel_rects(layout_toolbar(film.state), 1.0);
    const Box screen{0, 0, double(film.state.frame_width), double(film.state.frame_height)};
    if (panels.size() != 2 || any_rect_outside(panels, screen)) return plain_failure("the toolbar is off the screen");
    if (any_object_overlaps(objects, panels)) return plain_failure("a note runs under the toolbar");
    return ok_status();
}

// The notes drawn over the wallpaper the way the board's bake draws them.
Result<BgraImage> bake_film_notes(const EditorState& state, const BgraImage& wallpaper) {
    BoardPage page{state.objects.list(), state.background, state.last_id};
    const BoardScreen screens[] = {
        {std::string(kBoardScreenName), {0, 0, double(wallpaper.width), double(wallpaper.height)}}};
    auto renderer = create_renderer_resources(true, false);
    if (!renderer) return std::move(renderer).failure();
    auto baked = render_board_page(**renderer, DesktopPicture{wallpaper, 0, 0}, page, screens);
    if (!baked) return std::move(baked).failure();
    if (baked->empty()) return plain_failure("nothing was baked");
    return std::move(baked->back().picture);
}

Status check_and_bake(Film& film, const BoardFilmPictures& pictures) {
    GLIM_TRY(check_session(film));
    auto session = render_state_picture(film.state.frame_width, film.state.frame_height, film.state);
    if (!session) return std::move(session).failure();

    const KeyAnswer escape = handle_editor_key(film.state, *film.typing, kVkEscape, {});
    const auto* outcome = std::get_if<KeyOutcome>(&escape);
    if (!outcome || *outcome != KeyOutcome::EndCapture) return plain_failure("Escape did not end the session");

    auto baked = bake_film_notes(film.state, pictures.wallpaper);
    if (!baked) return std::move(baked).failure();
    if (count_icon_over_note_pixels(*session, pictures.icons, *baked, pictures.wallpaper) <
        kBoardFilmMinimumIconPixels)
        return plain_failure("no icon lies over a note in the session");
    if (any_object_unbaked(film.state.objects.list(), *baked, pictures.wallpaper))
        return plain_failure("a note did not reach the wallpaper");
    GLIM_TRY(save_image_atomically(*baked, win::join_path(film.frames_folder, L"baked.png"), ImageFormat::Png));
    return write_pointer_track(film);
}

}  // namespace

Result<BgraImage> read_desktop_board_picture(const std::wstring& input_folder, std::wstring_view name) {
    const std::string file = "desktop-board-" + win::to_utf8(std::wstring(name)) + ".png";
    // A picture larger than the film is drawn at is refused from its header.
    return load_image_file(win::join_path(input_folder, win::to_wide(file)), [&file](std::uint32_t w, std::uint32_t h) {
        return check_site_input_size(file, w, h);
    });
}

Status film_board(const BoardFilmPictures& pictures, const std::wstring& frames_folder) {
    GLIM_TRY(check_board_film_pictures(pictures.wallpaper, pictures.icons, pictures.screen));
    GLIM_TRY(create_frames_folder(frames_folder));
    auto host = create_site_preview_host(pictures.wallpaper.width, pictures.wallpaper.height);
    if (!host) return std::move(host).failure();
    auto state = board_editor_state(pictures);
    if (!state) return std::move(state).failure();
    // The film goes before its host window: its typing controls live on it.
    auto film = std::make_unique<Film>(std::move(state).value(), frames_folder, host->get(), false);
    GLIM_TRY(run_board_script(*film, pictures.screen));
    return check_and_bake(*film, pictures);
}

}  // namespace glimmerly
