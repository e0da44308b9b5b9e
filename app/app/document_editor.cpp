#include "app/app/document_editor.h"

#include <climits>
#include <string>
#include <vector>

#include "app/app/document.h"
#include "app/app/editor_session.h"
#include "app/app/session_output.h"
#include "app/lib/run_app.h"
#include "app/render/capture_region.h"
#include "app/render/renderer_resources.h"
#include "app/win/paths.h"
#include "core/editor/capture_start.h"
#include "core/editor/document_origin.h"
#include "core/editor/selection_edits.h"
#include "core/startup/command_line.h"
#include "text/app_error.h"
#include "ui/capture/editor_window_part.h"

namespace glimmerly {
namespace {

// The document's own refusals and a lack of memory are told as they are;
// anything else kept the file from being read at all.
Failure reading_failure(Failure failure, const std::wstring& path) {
    if (failure.code == APP_ERROR_CODE || failure.code == E_OUTOFMEMORY_CODE) return failure;
    return make_app_error(TextId::error_document_unread,
                          {{"path", win::to_utf8(path)}, {"detail", format_error_text(failure)}});
}

std::vector<Box> screen_monitors() {
    std::vector<Box> monitors;
    for (const MonitorArea& area : enumerate_monitors({0, 0})) monitors.push_back(area.rect);
    return monitors;
}

// The frame was stored without meaning in its alpha; the editor shows it opaque.
void make_opaque(BgraImage& frame) {
    for (std::size_t i = 3; i < frame.pixels.size(); i += 4) frame.pixels[i] = 0xFF;
}

// The probe of the document check: the edit a user would make, then Ctrl+S.
Status run_document_probe(App& app, HWND window) {
    EditorSession* session = open_editor_session(app);
    if (!session) return ok_status();
    EditorState& state = session->state();
    if (!state.objects.empty()) {
        state.selection = {state.objects.back().id};
        nudge_selection(state, {1.0, 0.0});
    }
    return run_session_output(app, window, ActionOutcome{.output = SessionOutput::Save});
}

}  // namespace

Status open_document_editor(App& app, HWND window, const std::wstring& path) {
    POINT cursor{};
    if (!GetCursorPos(&cursor)) cursor = {INT_MIN, INT_MIN};  // on no monitor: the first one is taken
    // The place is chosen before the frame is decoded: a frame no screen can
    // show is refused from its size alone, not after gigabytes of pixels.
    std::optional<PixelPoint> origin;
    const std::vector<Box> monitors = screen_monitors();
    const auto place = [&](const Scene& scene) -> Status {
        origin = choose_document_origin(scene.frame, scene.origin, monitors, {cursor.x, cursor.y});
        if (!origin)
            return make_app_error(TextId::error_document_too_large, {{"width", std::to_string(scene.frame.width)},
                                                                     {"height", std::to_string(scene.frame.height)}});
        return ok_status();
    };
    auto opened = load_vexil_document(path, place);
    if (!opened) return reading_failure(std::move(opened).failure(), path);
    Scene& scene = opened->scene;
    BgraImage& frame = opened->frame;
    if (!origin || !is_valid_bgra_image(frame) || frame.width != scene.frame.width ||
        frame.height != scene.frame.height)
        return document_read_error(DocumentReadErrorKind::Damaged, "The frame is not of the document's size");

    make_opaque(frame);
    auto resources = create_renderer_resources(false, false);
    if (!resources) return std::move(resources).failure();

    // A frame smaller than its screens is shown in a window over them, or
    // the toolbar beside it would fall off the window.
    const Box shown = document_window(scene.frame, *origin, monitors);
    const PixelPoint corner{static_cast<std::int32_t>(shown.left), static_cast<std::int32_t>(shown.top)};
    const FrameSize size{static_cast<std::uint32_t>(shown.right - shown.left),
                         static_cast<std::uint32_t>(shown.bottom - shown.top)};
    auto state = new_document_state(std::move(scene), std::move(frame), size,
                                    {origin->x - corner.x, origin->y - corner.y}, enumerate_monitors(corner));
    if (!state) return std::move(state).failure();
    GLIM_TRY(set_background_image(**resources, state->frozen_frame));
    editor_window_part(*state).renderer.resources = std::move(*resources);
    GLIM_TRY(install_editor_state(app, window, std::move(*state), corner));
    open_editor_session(app)->set_document_path(path);

    auto args = command_line_arguments();
    if (args && has_option(*args, u"--document-probe")) return run_document_probe(app, window);
    return ok_status();
}

}  // namespace glimmerly
