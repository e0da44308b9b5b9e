#include "app/site_previews/scripted_input.h"

#include "app/app/editor_effects.h"
#include "app/demo/demo_surface.h"
#include "app/render/text_formats.h"
#include "app/session/image_save.h"
#include "app/win/paths.h"
#include "app/win/failure.h"
#include "core/editor/editor_actions.h"
#include "core/editor/editor_input.h"
#include "core/editor/editor_routing.h"
#include "core/document/geometry.h"
#include "core/editor/text_edits.h"
#include "core/site_previews/film_track.h"
#include "ui/capture/editor_window_part.h"

namespace glimmerly {
namespace {

constexpr std::uint32_t kButtonGlideSteps = 10;
constexpr std::uint32_t kButtonRestFrames = 4;
constexpr std::uint32_t kPictureFrames = 30;
constexpr Point kPicturePointer{620, 360};

Point film_pointer(const Film& film) { return last_track_point(film.pointer_track); }

// What the editor window would carry out after a handler, as far as a
// hidden host has it: the action word on the editing state (the films click
// no output button, so no clipboard, file or closing follows), a text entry
// or the size fields opened on the host, wrapped labels measured again. The
// mouse capture, the focus and the repaint mean nothing to a hidden window.
Status carry_out_film_effects(Film& film, const InputEffects& effects) {
    if (effects.action) (void)apply_editor_action(film.state, *film.typing, *effects.action);
    if (effects.text_entry) GLIM_TRY(film.typing->open_text_entry(*effects.text_entry));
    if (effects.open_dimension_fields) GLIM_TRY(film.typing->open_dimension_fields());
    if (effects.remeasure_dragged_labels) GLIM_TRY(remeasure_dragged_labels(film.state, *film.typing));
    return ok_status();
}

// The editor window's pointer move: the handler, then the toolbar's hover.
Status move_film_pointer(Film& film, Point point, PointerModifiers modifiers) {
    EditorState& state = film.state;
    const InputEffects effects = on_pointer_move(state, *film.typing, point, modifiers);
    track_toolbar_hover(state.toolbar.hover, toolbar_item_at(state, state.pointer), film_now(film));
    return carry_out_film_effects(film, effects);
}

}  // namespace

Status glide_pointer_to(Film& film, Point target, std::uint32_t steps, PointerModifiers modifiers) {
    const Point start = film_pointer(film);
    for (std::uint32_t i = 1; i <= steps; ++i) {
        const Point at = eased_step(start, target, i, steps);
        GLIM_TRY(move_film_pointer(film, at, modifiers));
        GLIM_TRY(render_view_to_dib(film, at.x, at.y));
    }
    return ok_status();
}

Status step_pointer_to(Film& film, Point point) {
    GLIM_TRY(move_film_pointer(film, point, {}));
    return render_view_to_dib(film, point.x, point.y);
}

Status press_pointer(Film& film, PointerModifiers modifiers) {
    EditorState& state = film.state;
    // A press ends the hover at once: no highlight settles under a drag.
    track_toolbar_hover(state.toolbar.hover, std::nullopt, film_now(film));
    auto effects = on_pointer_down(state, *film.typing, film_pointer(film), modifiers);
    if (!effects) return std::move(effects).failure();
    return carry_out_film_effects(film, *effects);
}

void release_pointer(Film& film, PointerModifiers modifiers) {
    const InputEffects effects = on_pointer_up(film.state, *film.typing, film_pointer(film), modifiers);
    // A release opens nothing; what it could ask (a relayout of dragged
    // labels) has been done by the moves before it.
    (void)carry_out_film_effects(film, effects);
}

Status click_pointer(Film& film) {
    GLIM_TRY(press_pointer(film));
    release_pointer(film);
    return ok_status();
}

Status click_toolbar_button(Film& film, EditorAction word) {
    const std::vector<ToolbarButton> buttons = layout_toolbar(film.state);
    const auto found = find_toolbar_button(buttons, word);
    if (!found) return plain_failure("missing toolbar button");
    const Box& rect = buttons[*found].rect;
    GLIM_TRY(glide_pointer_to(film, box_centre(rect), kButtonGlideSteps));
    GLIM_TRY(click_pointer(film));
    return hold_film_frames(film, kButtonRestFrames);
}

Status type_into_text_field(Film& film, std::string_view text) {
    const auto& text_box = editor_window_part(film.state).text_box;
    if (!text_box || !text_box->edit) return plain_failure("text field not open");
    const HWND edit = text_box->edit;
    for (const char16_t unit : typed_units(text)) {
        SendMessageW(edit, WM_CHAR, static_cast<WPARAM>(unit), 0);
        GLIM_TRY(hold_film_frames(film, 2));
    }
    return ok_status();
}

Status turn_wheel(Film& film, std::int16_t delta) { return resize_by_wheel(film.state, *film.typing, delta); }

Status hold_picture_frames(Film& film, const BgraImage& picture) {
    for (std::uint32_t i = 0; i < kPictureFrames; ++i) {
        const std::wstring path =
            win::join_path(film.frames_folder, win::to_wide(frame_file_name(film.pointer_track.size())));
        GLIM_TRY(save_image_atomically(picture, path, ImageFormat::Png));
        film.pointer_track.push_back(kPicturePointer);
    }
    return ok_status();
}

Result<BgraImage> render_state_picture(std::uint32_t width, std::uint32_t height, EditorState& state) {
    return render_view_at(state, width, height);
}

Status add_measured_note(EditorState& state, RendererResources& resources, Point at, std::string_view text,
                         float size) {
    auto format = annotation_text_format(resources.dwrite_factory.get(), size);
    if (!format) return std::move(format).failure();
    auto extent = measure_text(resources, text, format->get(), false, 0.0f);
    if (!extent) return std::move(extent).failure();
    if (!add_text_object(state, at, std::string(text), *extent, state.color, size, LabelMode::none(), std::nullopt))
        return plain_failure("note refused");
    return ok_status();
}

}  // namespace glimmerly
