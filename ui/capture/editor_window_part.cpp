#include "ui/capture/editor_window_part.h"

namespace glimmerly {

namespace {

void drop_window_part(EditorWindowPart* part) { delete part; }

}  // namespace

EditorWindowPart& editor_window_part(EditorState& state) {
    if (!state.window) state.window = EditorWindowPartSlot(new EditorWindowPart{}, drop_window_part);
    return *state.window;
}

Status spawn_renderer_thread(EditorState& state, HWND window) {
    return spawn_renderer_thread(editor_window_part(state).renderer, state.premultiplied, window);
}

Status receive_renderer_resources(EditorState& state) {
    if (!state.window) return ok_status();
    return receive_renderer_resources(state.window->renderer, state.premultiplied, state.frozen_frame);
}

}  // namespace glimmerly
