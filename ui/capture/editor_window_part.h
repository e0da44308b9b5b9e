#pragma once
// The capture editor's window-side state, which the platform-free editor
// state holds without knowing its contents, and the renderer hand-over on it.

#include <windows.h>

#include "app/image/screen_grab.h"
#include "app/render/renderer_thread.h"
#include "core/editor/editor_state.h"
#include "ui/caret/text_box_painting.h"

namespace glimmerly {

struct EditorWindowPart {
    // Each frame is drawn whole here before one blit shows it. Made at the
    // first rendered frame; declared before the renderer, whose target may
    // still be bound to its DC, so that the target goes first.
    std::optional<DibSurface> back_buffer;
    RendererSlot renderer;
    std::optional<TextBoxView> text_box;  // while the user types a text or label
    CaretState caret{{}, system_caret_period()};
};

// The state's window part, made empty on first use.
EditorWindowPart& editor_window_part(EditorState& state);

// Starts the renderer thread for the capture window with the state's
// premultiplied flag as it is now.
Status spawn_renderer_thread(EditorState& state, HWND window);

// Takes in what the renderer thread sent, with the state's current
// premultiplied flag and its frozen frame as the background.
Status receive_renderer_resources(EditorState& state);

}  // namespace glimmerly
