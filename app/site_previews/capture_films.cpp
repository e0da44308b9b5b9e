#include "app/site_previews/capture_films.h"

#include "app/demo/demo_surface.h"
#include "app/site_previews/film.h"
#include "app/site_previews/scripted_input.h"
#include "core/demo/demo_scenes.h"
#include "core/document/geometry.h"
#include "core/editor/gestures.h"
#include "core/editor/handles.h"
#include "core/site_previews/film_track.h"
#include "core/site_previews/site_preview_script.h"
#include "ui/capture/editor_window_part.h"

namespace glimmerly {
namespace {

constexpr Rgb kRed{237, 79, 92};
constexpr Rgb kYellow{250, 192, 66};
constexpr Rgb kBlue{80, 153, 244};
constexpr Rgb kNoteWhite{245, 245, 248};

Point film_pointer(const Film& film) { return last_track_point(film.pointer_track); }

// Only the filmed pointer moves: no handler sees these steps.
Status glide_film_pointer(Film& film, Point target, std::uint32_t steps) {
    const Point start = film_pointer(film);
    for (std::uint32_t i = 1; i <= steps; ++i) {
        const Point at = eased_step(start, target, i, steps);
        GLIM_TRY(render_view_to_dib(film, at.x, at.y));
    }
    return ok_status();
}

void begin_film_gesture(Film& film) { begin_gesture(film.state, film_pointer(film), {}); }

// The pressed pointer dragged along the eased path, a frame at each step.
Status drag_film_gesture(Film& film, Point target, std::uint32_t steps) {
    const Point start = film_pointer(film);
    for (std::uint32_t i = 1; i <= steps; ++i) {
        const Point at = eased_step(start, target, i, steps);
        continue_gesture(film.state, at);
        GLIM_TRY(render_view_to_dib(film, at.x, at.y));
    }
    return ok_status();
}

Result<Box> require_selection_bounds(const EditorState& state) {
    const auto bounds = selected_objects_bounds(state);
    if (!bounds) return plain_failure("nothing selected");
    return *bounds;
}

Failure missing_note() { return plain_failure("missing note"); }

const SceneObject* find_note(const EditorState& state, ObjectId id) {
    return find_object(state.objects.list(), id);
}

std::optional<ObjectId> title_note_id(const EditorState& state) {
    for (const SceneObject& object : state.objects) {
        const TextPayload* text = as_text(object);
        if (text && text->text.size() >= 5 && text->text.starts_with("Title")) return object.id;
    }
    return std::nullopt;
}

Point object_centre_in_scene(const EditorState& state, const SceneObject& object) {
    return box_centre(object_bounds_in_scene(object, state.objects.list()));
}

void draw_shape(EditorState& state, Tool tool, Rgb colour, Point from, Point to, PointerModifiers modifiers = {}) {
    state.tool = tool;
    state.color = colour;
    demo_gesture(state, from, to, modifiers);
}

Status add_note(EditorState& state, Rgb colour, Point at, std::string_view text, float size) {
    state.color = colour;
    RendererResources& resources = *editor_window_part(state).renderer.resources;
    return add_measured_note(state, resources, at, text, size);
}

// The editing film's script after its first frame: the steps and their
// frames as the film's table has them.
Status script_editing_film(Film& film, ObjectId note_id) {
    EditorState& state = film.state;
    GLIM_TRY(render_view_to_dib(film, 760, 520));
    GLIM_TRY(hold_film_frames(film, 10));

    // The shape under (600, 238) picked, its bottom-right corner dragged in.
    GLIM_TRY(glide_film_pointer(film, {600, 238}, 16));
    begin_film_gesture(film);
    finish_gesture(state);
    GLIM_TRY(hold_film_frames(film, 8));
    auto bounds = require_selection_bounds(state);
    if (!bounds) return std::move(bounds).failure();
    GLIM_TRY(glide_film_pointer(film, {bounds->right, bounds->bottom}, 14));
    begin_film_gesture(film);
    GLIM_TRY(hold_film_frames(film, 3));
    GLIM_TRY(drag_film_gesture(film, {bounds->right - 132, bounds->bottom - 132}, 22));
    finish_gesture(state);
    GLIM_TRY(hold_film_frames(film, 10));

    // Then moved by a point just below the middle of its top edge until its
    // centre is at (765, 277).
    bounds = require_selection_bounds(state);
    if (!bounds) return std::move(bounds).failure();
    const Point centre = box_centre(*bounds);
    GLIM_TRY(glide_film_pointer(film, {centre.x, bounds->top + 2}, 12));
    begin_film_gesture(film);
    GLIM_TRY(hold_film_frames(film, 3));
    const Point grip = film_pointer(film);
    GLIM_TRY(drag_film_gesture(film, {grip.x + 765 - centre.x, grip.y + 277 - centre.y}, 26));
    finish_gesture(state);
    GLIM_TRY(hold_film_frames(film, 14));

    // The note picked and enlarged to 135 % by its bottom-right corner.
    const SceneObject* note = find_note(state, note_id);
    if (!note) return missing_note();
    GLIM_TRY(glide_film_pointer(film, object_centre_in_scene(state, *note), 16));
    begin_film_gesture(film);
    finish_gesture(state);
    GLIM_TRY(hold_film_frames(film, 8));
    bounds = require_selection_bounds(state);
    if (!bounds) return std::move(bounds).failure();
    GLIM_TRY(glide_film_pointer(film, {bounds->right, bounds->bottom}, 14));
    begin_film_gesture(film);
    GLIM_TRY(hold_film_frames(film, 3));
    const Box before = *bounds;
    GLIM_TRY(drag_film_gesture(film,
                               {before.left + 1.35 * (before.right - before.left),
                                before.top + 1.35 * (before.bottom - before.top)},
                               22));
    finish_gesture(state);
    GLIM_TRY(hold_film_frames(film, 14));

    // And turned 8 degrees counter-clockwise by its rotation handle.
    const auto frame = selection_frame(state);
    const auto handle = rotation_handle_position(state);
    if (!frame || !handle) return plain_failure("note not selected");
    GLIM_TRY(glide_film_pointer(film, *handle, 12));
    begin_film_gesture(film);
    GLIM_TRY(hold_film_frames(film, 3));
    const Point pivot = box_centre(frame->box);
    constexpr std::uint32_t kTurnSteps = 22;
    for (std::uint32_t i = 1; i <= kTurnSteps; ++i) {
        const Point at = turned_step(pivot, *handle, -8.0, i, kTurnSteps);
        continue_gesture(state, at);
        GLIM_TRY(render_view_to_dib(film, at.x, at.y));
    }
    finish_gesture(state);

    note = find_note(state, note_id);
    if (!note || state.objects.empty()) return missing_note();
    const SceneObject& card = state.objects.front();
    if (note_runs_into_frame(rotated_object_bounds(*note), rotated_object_bounds(card), card.width))
        return plain_failure("the note runs into the card's frame");
    return hold_film_frames(film, 30);
}

}  // namespace

EditorState film_editing_head(Tool tool, double stroke_width, Rgb colour) {
    EditorState head;
    head.tool = tool;
    head.stroke_width = stroke_width;
    head.color = colour;
    head.interface_scale = 1.0;
    head.text_size = 14.0f;
    return head;
}

Result<EditorState> new_film_state(const BgraImage& picture, EditorState head) {
    EditorState state = demo_editor_over(picture);
    const float text_size = head.text_size;
    replace_editing_part(state, std::move(head));
    state.text_size = text_size;
    select_demo_region(state, kSiteCaptureRegion);
    GLIM_TRY(give_demo_renderer(state));
    return state;
}

Result<EditorState> build_capture_scene(const BgraImage& capture) {
    auto made = new_film_state(capture, film_editing_head(Tool::Arrow, 3.0, kRed));
    if (!made) return made;
    EditorState& state = *made;
    replace_editing_part(state, film_editing_head(Tool::Rectangle, 4.0, kRed));

    draw_shape(state, Tool::Rectangle, kRed, {172, 232}, {474, 454});
    GLIM_TRY(add_note(state, kRed, {178, 480}, "Title too low?", 32.0f));
    draw_shape(state, Tool::Highlighter, kYellow, {178, 211}, {418, 211});
    draw_shape(state, Tool::Ellipse, kBlue, {600, 343}, {706, 343});
    draw_shape(state, Tool::Arrow, kRed, {952, 232}, {640, 300}, PointerModifiers{.ctrl = true});
    GLIM_TRY(add_note(state, kNoteWhite, {892, 106}, "Mobile\n+12%", 40.0f));
    state.tool = Tool::Rectangle;
    return made;
}

Status record_eyedropper_film(const BgraImage& capture, const std::wstring& frames_folder) {
    GLIM_TRY(create_frames_folder(frames_folder));
    auto state = new_film_state(capture, film_editing_head(Tool::Arrow, 3.0, kRed));
    if (!state) return std::move(state).failure();
    state->eyedropper_armed = true;
    Film film(std::move(*state), frames_folder, nullptr, false);
    for (const Point& at : eyedropper_film_points()) GLIM_TRY(render_view_to_dib(film, at.x, at.y));
    return write_pointer_track(film);
}

Status record_editing_film(EditorState scene, const std::wstring& frames_folder) {
    GLIM_TRY(create_frames_folder(frames_folder));
    const auto note_id = title_note_id(scene);
    if (!note_id) return missing_note();
    Film film(std::move(scene), frames_folder, nullptr, false);
    GLIM_TRY(script_editing_film(film, *note_id));
    return write_pointer_track(film);
}

}  // namespace glimmerly
