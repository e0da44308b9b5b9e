#include "app/site_previews/support_heart_film.h"

#include <cmath>

#include "app/render/text_formats.h"
#include "app/site_previews/film.h"
#include "app/site_previews/scripted_input.h"
#include "core/demo/demo_scenes.h"
#include "core/editor/capture_start.h"
#include "core/editor/handles.h"
#include "core/editor/toolbar.h"
#include "core/site_previews/heart_film.h"
#include "core/site_previews/scripted_moves.h"
#include "ui/capture/editor_window_part.h"

namespace glimmerly {
namespace {

constexpr std::string_view kThankYou = "Thank you.";
constexpr Box kHeartRegion{50, 30, 450, 340};
constexpr double kHeartStrokeWidth = 14.0;
constexpr float kHeartTextSize = 36.0f;
constexpr std::int16_t kWheelNotchDown = -120;

Point along_axis(Point from, double distance) {
    return {from.x + distance * kHeartArrowDirection.x, from.y + distance * kHeartArrowDirection.y};
}

BgraImage heart_canvas() { return plain_frame(kHeartCanvasWidth, kHeartCanvasHeight, kHeartCanvasColour); }

// The editor as a capture opens over the canvas, with its region already
// chosen and the film's pen width and letter size.
EditorState heart_editor_state() {
    const Box whole{0, 0, double(kHeartCanvasWidth), double(kHeartCanvasHeight)};
    EditorState state = new_capture_state(heart_canvas(), {MonitorArea{whole, 1.0}});
    state.stroke_width = kHeartStrokeWidth;
    state.capture_selection = kHeartRegion;
    state.text_size = kHeartTextSize;
    state.selecting = false;
    return state;
}

// The action bar on two rows would cover the heart's stage.
Status check_action_bar_fits(const EditorState& state) {
    const std::vector<ToolbarButton> buttons = layout_toolbar(state);
    std::optional<double> top;
    for (const ToolbarButton& button : buttons) {
        if (button.panel != ToolbarPanel::Actions) continue;
        if (!top) top = button.rect.top;
        if (button.rect.top != *top) return plain_failure("the film is too narrow: its action bar wraps");
    }
    return ok_status();
}

Status draw_heart(Film& film) {
    const std::vector<Point> heart = heart_path();
    GLIM_TRY(click_toolbar_button(film, tool_action(Tool::Pen)));
    GLIM_TRY(click_toolbar_button(film, colour_action({237, 79, 92})));
    GLIM_TRY(glide_pointer_to(film, heart.front(), 12));
    GLIM_TRY(press_pointer(film));
    for (std::size_t i = 1; i < heart.size(); ++i) GLIM_TRY(step_pointer_to(film, heart[i]));
    release_pointer(film);
    GLIM_TRY(hold_film_frames(film, 8));

    GLIM_TRY(click_toolbar_button(film, tool_action(Tool::Select)));
    GLIM_TRY(glide_pointer_to(film, heart[18], 12));
    GLIM_TRY(click_pointer(film));
    GLIM_TRY(hold_film_frames(film, 5));
    const std::optional<Box> bounds = selected_objects_bounds(film.state);
    if (!bounds) return plain_failure("heart was not selected");

    // Enlarged by the bottom-right handle.
    GLIM_TRY(glide_pointer_to(film, {bounds->right, bounds->bottom}, 10));
    GLIM_TRY(press_pointer(film));
    GLIM_TRY(hold_film_frames(film, 3));
    GLIM_TRY(glide_pointer_to(film, {bounds->right + 32, bounds->bottom + 28}, 18));
    release_pointer(film);
    return hold_film_frames(film, 8);
}

// A line ends at the outline and the arrow starts past the heart's far
// side, so the axis seems to run on hidden through the heart.
Status draw_axis(Film& film, const HeartCrossing& crossing) {
    GLIM_TRY(click_toolbar_button(film, tool_action(Tool::Line)));
    for (int notch = 0; notch < 3; ++notch) {
        GLIM_TRY(turn_wheel(film, kWheelNotchDown));
        GLIM_TRY(hold_film_frames(film, 2));
    }
    GLIM_TRY(glide_pointer_to(film, along_axis(crossing.entry, -84), 12));
    GLIM_TRY(press_pointer(film));
    GLIM_TRY(glide_pointer_to(film, crossing.entry, 12));
    release_pointer(film);
    GLIM_TRY(hold_film_frames(film, 5));

    GLIM_TRY(click_toolbar_button(film, tool_action(Tool::Arrow)));
    GLIM_TRY(glide_pointer_to(film, along_axis(crossing.exit, -32), 12));
    GLIM_TRY(press_pointer(film));
    GLIM_TRY(glide_pointer_to(film, along_axis(crossing.exit, 78), 12));
    release_pointer(film);
    return hold_film_frames(film, 8);
}

Status write_thank_you(Film& film, const Box& heart) {
    RendererResources* resources = editor_window_part(film.state).renderer.resources.get();
    if (!resources) return plain_failure("the film has no renderer");
    auto measured = measure_annotation_line(*resources, kThankYou, film.state.text_size);
    if (!measured) return std::move(measured).failure();
    const double centre = (heart.left + heart.right) / 2;

    GLIM_TRY(click_toolbar_button(film, tool_action(Tool::Text)));
    GLIM_TRY(glide_pointer_to(film, {centre - measured->w / 2, 286}, 12));
    GLIM_TRY(click_pointer(film));
    GLIM_TRY(hold_film_frames(film, 3));
    GLIM_TRY(type_into_text_field(film, kThankYou));
    GLIM_TRY(hold_film_frames(film, 4));
    if (!film.typing->text_box_open() || film.state.colour_picker || film.state.eyedropper_armed)
        return plain_failure("thank-you text field did not commit");
    film.typing->commit_text_box();

    auto text = last_object_bounds(film.state.objects.list());
    if (!text) return std::move(text).failure();
    if (std::abs((text->left + text->right) / 2 - centre) > 0.5)
        return plain_failure("the thank-you line is off the heart's axis");
    return ok_status();
}

Status run_heart_script(Film& film) {
    GLIM_TRY(check_action_bar_fits(film.state));
    GLIM_TRY(render_view_to_dib(film, 280, 180));
    GLIM_TRY(hold_film_frames(film, 8));
    GLIM_TRY(draw_heart(film));

    const auto& objects = film.state.objects.list();
    if (objects.empty()) return plain_failure("nothing drawn");
    const std::vector<Point> outline = flatten_polylines(build_object_geometry(objects.front(), objects));
    auto heart = last_object_bounds(objects);
    if (!heart) return std::move(heart).failure();
    auto crossing = plan_heart_arrow(outline, *heart);
    if (!crossing) return std::move(crossing).failure();
    GLIM_TRY(draw_axis(film, *crossing));
    GLIM_TRY(write_thank_you(film, *heart));

    GLIM_TRY(hold_film_frames(film, 6));
    GLIM_TRY(click_toolbar_button(film, tool_action(Tool::Select)));
    GLIM_TRY(glide_pointer_to(film, {405, 300}, 10));
    GLIM_TRY(click_pointer(film));
    GLIM_TRY(hold_film_frames(film, 30));
    return write_pointer_track(film);
}

}  // namespace

Status film_support_heart(const std::wstring& frames_folder) {
    GLIM_TRY(create_frames_folder(frames_folder));
    auto host = create_site_preview_host(kHeartCanvasWidth, kHeartCanvasHeight);
    if (!host) return std::move(host).failure();
    // The film goes before its host window: its typing controls live on it.
    auto film = std::make_unique<Film>(heart_editor_state(), frames_folder, host->get(), true);
    return run_heart_script(*film);
}

}  // namespace glimmerly
