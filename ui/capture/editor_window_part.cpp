#include "ui/capture/editor_window_part.h"

#include "core/render/chrome_paint.h"

namespace glimmerly {

namespace {

void drop_window_part(EditorWindowPart* part) { delete part; }

}  // namespace

EditorWindowPart& editor_window_part(EditorState& state) {
    if (!state.window) state.window = EditorWindowPartSlot(new EditorWindowPart{}, drop_window_part);
    return *state.window;
}

Result<RendererResources*> typing_resources(EditorState& state) {
    RendererResources* resources = editor_window_part(state).renderer.resources.get();
    if (!resources) return plain_failure("The editor has no renderer resources yet to lay out text");
    return resources;
}

TextBoxView dimension_field_view(const DimensionFieldsPart& fields, std::size_t index, const Box& rect) {
    TextBoxView view;
    view.edit = fields.edits[index];
    view.box.at = {rect.left, rect.top};
    view.box.size = fields.fields.font_size;
    view.box.color = kSizeLabelText;
    view.window_space = true;
    return view;
}

Status spawn_renderer_thread(EditorState& state, HWND window) {
    return spawn_renderer_thread(editor_window_part(state).renderer, state.premultiplied, window);
}

Status receive_renderer_resources(EditorState& state) {
    if (!state.window) return ok_status();
    return receive_renderer_resources(state.window->renderer, state.premultiplied, state.frozen_frame);
}

}  // namespace glimmerly
