#include "app/site_previews/capture_film.h"

#include <algorithm>

#include "app/demo/demo_surface.h"
#include "app/site_previews/film.h"
#include "app/site_previews/scripted_input.h"
#include "core/demo/demo_scenes.h"
#include "core/document/geometry.h"
#include "core/editor/handles.h"
#include "core/editor/selection_geometry.h"
#include "core/site_previews/film_track.h"
#include "core/site_previews/scripted_moves.h"

namespace glimmerly {
namespace {

constexpr PointerModifiers kShift{.shift = true};
constexpr std::int16_t kNotchUp = 120;

Point midpoint(const ArrowGeometry& arrow) {
    return {(arrow.start.x + arrow.end.x) / 2, (arrow.start.y + arrow.end.y) / 2};
}

Status wheel_notches_up(Film& film, int notches, std::uint32_t rest) {
    for (int i = 0; i < notches; ++i) {
        GLIM_TRY(turn_wheel(film, kNotchUp));
        GLIM_TRY(hold_film_frames(film, rest));
    }
    return ok_status();
}

Status glide_and_click(Film& film, Point target, std::uint32_t steps) {
    GLIM_TRY(glide_pointer_to(film, target, steps));
    return click_pointer(film);
}

Result<Box> scene_last_bounds(const Film& film) { return last_object_bounds(film.state.objects.list()); }
Result<ArrowGeometry> scene_first_arrow(const Film& film) { return first_arrow_geometry(film.state.objects.list()); }

// The region, an arrow, and a two-line note sized by the wheel, recoloured
// and turned.
Status script_note(Film& film) {
    EditorState& state = film.state;
    GLIM_TRY(render_view_to_dib(film, 330, 300));
    GLIM_TRY(hold_film_frames(film, 10));
    GLIM_TRY(glide_pointer_to(film, {100, 86}, 12));
    GLIM_TRY(press_pointer(film));
    GLIM_TRY(glide_pointer_to(film, {1040, 470}, 22));
    release_pointer(film);
    GLIM_TRY(hold_film_frames(film, 8));

    GLIM_TRY(click_toolbar_button(film, tool_action(Tool::Arrow)));
    GLIM_TRY(glide_pointer_to(film, {640, 200}, 12));
    GLIM_TRY(press_pointer(film));
    GLIM_TRY(glide_pointer_to(film, {724, 275}, 14));
    release_pointer(film);
    GLIM_TRY(hold_film_frames(film, 5));

    GLIM_TRY(click_toolbar_button(film, tool_action(Tool::Text)));
    GLIM_TRY(glide_and_click(film, {892, 134}, 12));
    GLIM_TRY(hold_film_frames(film, 3));
    GLIM_TRY(type_into_text_field(film, with_carriage_returns("Mobile\n+12%")));
    GLIM_TRY(hold_film_frames(film, 6));
    GLIM_TRY(click_toolbar_button(film, tool_action(Tool::Select)));

    auto note = scene_last_bounds(film);
    if (!note) return std::move(note).failure();
    GLIM_TRY(glide_and_click(film, box_centre(*note), 12));
    GLIM_TRY(hold_film_frames(film, 4));
    GLIM_TRY(wheel_notches_up(film, 4, 3));
    if (state.text_size != 40.0f) return plain_failure("the wheel did not bring the note to its size");
    GLIM_TRY(hold_film_frames(film, 4));
    GLIM_TRY(click_toolbar_button(film, colour_action({245, 245, 248})));

    const auto handle = clamp_popup_position(state);
    const auto selected = selected_objects_bounds(state);
    if (!handle || !selected) return plain_failure("note not selected");
    GLIM_TRY(glide_pointer_to(film, *handle, 10));
    GLIM_TRY(press_pointer(film));
    GLIM_TRY(hold_film_frames(film, 2));
    const Point centre = box_centre(*selected);
    constexpr std::uint32_t kTurnSteps = 18;
    for (std::uint32_t i = 1; i <= kTurnSteps; ++i)
        GLIM_TRY(step_pointer_to(film, turned_step(centre, *handle, -10.0, i, kTurnSteps)));
    release_pointer(film);
    const bool turned = std::any_of(state.objects.begin(), state.objects.end(), [](const SceneObject& object) {
        return as_text(object) && object.rotation != 0.0;
    });
    if (!turned) return plain_failure("the note did not turn");
    return hold_film_frames(film, 8);
}

// A square drawn with Shift and moved, and the region's bottom edge
// dragged down.
Status script_square(Film& film) {
    GLIM_TRY(click_toolbar_button(film, tool_action(Tool::Rectangle)));
    GLIM_TRY(click_toolbar_button(film, colour_action({80, 153, 244})));
    GLIM_TRY(glide_pointer_to(film, {553, 296}, 12));
    GLIM_TRY(press_pointer(film, kShift));
    GLIM_TRY(glide_pointer_to(film, {650, 386}, 16, kShift));
    release_pointer(film, kShift);
    GLIM_TRY(hold_film_frames(film, 6));
    GLIM_TRY(click_toolbar_button(film, tool_action(Tool::Select)));

    auto square = scene_last_bounds(film);
    if (!square) return std::move(square).failure();
    const Point centre = box_centre(*square);
    GLIM_TRY(glide_and_click(film, {centre.x, square->top + 2}, 12));
    GLIM_TRY(hold_film_frames(film, 3));
    GLIM_TRY(press_pointer(film));
    GLIM_TRY(hold_film_frames(film, 2));
    const Point grip = last_track_point(film.pointer_track);
    GLIM_TRY(glide_pointer_to(film, {grip.x + 406 - centre.x, grip.y + 300 - centre.y}, 22));
    release_pointer(film);
    GLIM_TRY(hold_film_frames(film, 10));

    GLIM_TRY(glide_pointer_to(film, {100, 470}, 16));
    GLIM_TRY(press_pointer(film));
    GLIM_TRY(hold_film_frames(film, 2));
    GLIM_TRY(glide_pointer_to(film, {100, 612}, 16));
    release_pointer(film);
    return hold_film_frames(film, 12);
}

// The arrow's tip swung over to the square, the arrow recoloured with the
// eyedropper and its width doubled by the wheel; a closing click.
Status script_arrow(Film& film) {
    auto first = scene_first_arrow(film);
    if (!first) return std::move(first).failure();
    const ArrowGeometry a = *first;
    GLIM_TRY(glide_and_click(film, midpoint(a), 14));
    GLIM_TRY(hold_film_frames(film, 8));
    GLIM_TRY(glide_pointer_to(film, a.end, 10));
    GLIM_TRY(press_pointer(film));
    GLIM_TRY(hold_film_frames(film, 3));
    auto square = scene_last_bounds(film);
    if (!square) return std::move(square).failure();
    GLIM_TRY(glide_pointer_to(film, {square->right + 9, (square->top + square->bottom) / 2}, 33));
    release_pointer(film);
    GLIM_TRY(hold_film_frames(film, 10));
    auto swung = scene_first_arrow(film);
    if (!swung) return std::move(swung).failure();
    if (!arrow_turned_past_right_angle(a, *swung))
        return plain_failure("the arrow's tip did not swing past a right angle alone");

    GLIM_TRY(click_toolbar_button(film, pack_editor_action(EditorActionCode::Eyedropper)));
    GLIM_TRY(glide_pointer_to(film, {532, 335}, 22));
    GLIM_TRY(hold_film_frames(film, 10));
    GLIM_TRY(click_pointer(film));
    GLIM_TRY(hold_film_frames(film, 10));
    const Rgb picked = film.state.custom_colour;
    auto recoloured = scene_first_arrow(film);
    if (!recoloured) return std::move(recoloured).failure();
    if (recoloured->colour != picked || picked == a.colour)
        return plain_failure("the eyedropper did not recolour the selected arrow");

    GLIM_TRY(glide_pointer_to(film, midpoint(*recoloured), 14));
    GLIM_TRY(hold_film_frames(film, 4));
    GLIM_TRY(wheel_notches_up(film, 4, 5));
    GLIM_TRY(hold_film_frames(film, 8));
    auto widened = scene_first_arrow(film);
    if (!widened) return std::move(widened).failure();
    if (widened->width != 2 * a.width || widened->colour != picked)
        return plain_failure("the wheel did not double the arrow alone");

    GLIM_TRY(glide_and_click(film, {760, 505}, 16));
    if (!film.state.selection.empty()) return plain_failure("the closing click left something selected");
    return hold_film_frames(film, 45);
}

}  // namespace

Status film_capture(const BgraImage& capture, const std::wstring& frames_folder) {
    GLIM_TRY(create_frames_folder(frames_folder));
    auto host = create_site_preview_host(capture.width, capture.height);
    if (!host) return std::move(host).failure();
    EditorState state = demo_editor_over(capture);
    state.stroke_width = 4.0;
    GLIM_TRY(give_demo_renderer(state));
    // Declared after the window: the film goes first, the window after it.
    Film film(std::move(state), frames_folder, host->get(), false);
    GLIM_TRY(script_note(film));
    GLIM_TRY(script_square(film));
    GLIM_TRY(script_arrow(film));
    return write_pointer_track(film);
}

}  // namespace glimmerly
