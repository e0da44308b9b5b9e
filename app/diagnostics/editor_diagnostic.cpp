#include "app/diagnostics/editor_diagnostic.h"

#include "app/app/editor_session.h"
#include "app/diagnostics/diagnostic_files.h"
#include "app/image/screen_grab.h"
#include "app/render/capture_region.h"
#include "app/render/renderer_resources.h"
#include "core/diagnostics/diagnostic_report.h"
#include "core/editor/capture_start.h"
#include "ui/capture/editor_window_part.h"

namespace glimmerly {

Status run_editor_diagnostic() {
    const auto start = std::chrono::steady_clock::now();
    auto grab = capture_virtual_screen();
    if (!grab) return std::move(grab).failure();
    EditorFigures figures;
    figures.capture_ms = milliseconds_since(start);
    figures.width = grab->image.width;
    figures.height = grab->image.height;

    // Built as a capture builds it, with software drawing: the figure is
    // the editor's own cost, not the graphics driver's.
    EditorState state = new_capture_state(std::move(grab->image), enumerate_monitors({grab->x, grab->y}));
    state.software = true;
    auto resources = create_renderer_resources(true, state.premultiplied);
    if (!resources) return std::move(resources).failure();
    GLIM_TRY(set_background_image(**resources, state.frozen_frame));
    editor_window_part(state).renderer.resources = std::move(*resources);
    figures.capture_and_init_ms = milliseconds_since(start);

    return write_report(EDITOR_REPORT, editor_report_text(figures));
}

}  // namespace glimmerly
