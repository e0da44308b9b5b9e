#pragma once
// The capture editor's window-side state, which the platform-free editor
// state holds without knowing its contents, and the renderer hand-over on it.

#include <windows.h>

#include <array>
#include <cstddef>
#include <optional>

#include "app/image/screen_grab.h"
#include "app/render/renderer_thread.h"
#include "core/editor/dimension_fields.h"
#include "core/editor/editor_state.h"
#include "ui/caret/text_box_painting.h"

namespace glimmerly {

// The size fields while they are open: the record their decisions keep, and
// the two EDIT controls (width, height), which the typing controls own.
struct DimensionFieldsPart {
    DimensionFields fields;
    std::array<HWND, 2> edits{};
};

struct EditorWindowPart {
    // Each frame is drawn whole here before one blit shows it. Made at the
    // first rendered frame; declared before the renderer, whose target may
    // still be bound to its DC, so that the target goes first.
    std::optional<DibSurface> back_buffer;
    RendererSlot renderer;
    std::optional<TextBoxView> text_box;  // while the user types a text or label
    std::optional<DimensionFieldsPart> dimension_fields;
    CaretState caret{{}, system_caret_period()};
    // Present exactly while live capture is on: the frame drawn for the
    // layered window, of the frame's size.
    std::optional<DibSurface> live_surface;
};

// The state's window part, made empty on first use.
EditorWindowPart& editor_window_part(EditorState& state);

// The renderer's resources, which lay out what is typed; a failure until the
// renderer thread has handed them over.
Result<RendererResources*> typing_resources(EditorState& state);

// One size field (0 width, 1 height) as the painter draws it and the pointer
// hits it: its text at the field's rectangle, in the interface font at the
// fields' letter size, never scrolled.
TextBoxView dimension_field_view(const DimensionFieldsPart& fields, std::size_t index, const Box& rect);

// Starts the renderer thread for the capture window with the state's
// premultiplied flag as it is now.
Status spawn_renderer_thread(EditorState& state, HWND window);

// Takes in what the renderer thread sent, with the state's current
// premultiplied flag and its frozen frame as the background.
Status receive_renderer_resources(EditorState& state);

}  // namespace glimmerly
