#include "app/app/session_output.h"

#include <filesystem>
#include <new>
#include <string_view>

#include "app/app/document.h"
#include "app/app/error_box.h"
#include "app/app/live_capture.h"
#include "app/board/board_leave.h"
#include "app/lib/atomic_write.h"
#include "app/lib/settings_store.h"
#include "app/render/capture_region.h"
#include "app/session/clipboard.h"
#include "app/session/image_save.h"
#include "app/win/paths.h"
#include "core/paths/save_types.h"
#include "text/app_error.h"
#include "ui/capture/editor_window_part.h"

namespace glimmerly {
namespace {

void repaint(HWND window) { InvalidateRect(window, nullptr, FALSE); }

// The output is the picture of the session's moment: a capture whose renderer
// thread has not delivered yet renders with resources of its own.
Result<BgraImage> render_region(EditorState& state, const BgraImage& frame) {
    std::unique_ptr<RendererResources> own;
    RendererResources* resources = editor_window_part(state).renderer.resources.get();
    if (!resources) {
        auto made = create_renderer_resources(state.software, false);
        if (!made) return std::move(made).failure();
        own = std::move(*made);
        resources = own.get();
    }
    return render_capture_region(*resources, frame, state.background, state.objects, *state.capture_selection);
}

Status write_document(EditorSession& session, const SessionPicture& made, const std::wstring& path,
                      bool keep_existing) {
    const PixelPoint origin = session.origin();
    auto bytes = encode_vexil_document(session.state(), made.frame(session.state()), ScreenOrigin{origin.x, origin.y},
                                       made.picture);
    if (!bytes) return std::move(bytes).failure();
    const std::string_view view(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    auto written = write_file_atomically(view, path, keep_existing);
    if (!written) return std::move(written).failure();
    return ok_status();
}

// Told, remembered (in a process that keeps settings), and the capture ends.
Status finish_save(App& app, HWND window, NoticeKind notice, bool remember) {
    if (remember && app.keeps_settings)
        if (Status stored = save_session_choices(app.settings.save_folder, app.settings.save_format); !stored)
            show_error_box(window, stored.failure());  // the picture is saved all the same
    show_notice(app, notice);
    save_and_bake_board(app, window, std::nullopt);
    return ok_status();
}

Status save_capture(App& app, HWND window, EditorSession& session, bool ask) {
    auto made = render_session_output(session);
    if (!made) return std::move(made).failure();
    if (!ask && session.document_path()) {
        GLIM_TRY(write_document(session, *made, *session.document_path(), false));
        return finish_save(app, window, NOTICE_SAVED_EDITABLE, false);
    }
    auto chosen = app.outputs.save_dialog(window, win::from_u16(app.settings.save_folder), app.settings.save_format);
    if (!chosen) return std::move(chosen).failure();
    if (!*chosen) {
        repaint(window);
        return ok_status();
    }
    const std::wstring& path = (*chosen)->path;
    // A default numbered name was proposed, not chosen: a file that took it
    // meanwhile is kept, and the save takes the next number.
    const bool numbered = classify_save_name(win::to_u16(path)).has_value();
    const std::optional<ImageFormat> format = chosen_image_format(win::to_u16(path), (*chosen)->type);
    if (!format) {
        GLIM_TRY(write_document(session, *made, path, numbered));
    } else if (numbered) {
        auto written = save_image_without_replacing(made->picture, path, *format);
        if (!written) return std::move(written).failure();
    } else {
        GLIM_TRY(save_image_atomically(made->picture, path, *format));
    }
    if (format) app.settings.save_format = *format;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty()) app.settings.save_folder = win::to_u16(folder.wstring());
    return finish_save(app, window, format ? NOTICE_SAVED : NOTICE_SAVED_EDITABLE, true);
}

Status copy_image(App& app, HWND window, EditorSession& session) {
    auto made = render_session_output(session);
    if (!made) return std::move(made).failure();
    GLIM_TRY(put_image_on_clipboard(window, made->picture));
    show_notice(app, NOTICE_COPIED);
    save_and_bake_board(app, window, std::nullopt);
    return ok_status();
}

Status copy_colour_code(App& app, HWND window, Rgb colour) {
    GLIM_TRY(put_colour_code_on_clipboard(window, colour));
    show_notice(app, NOTICE_COLOUR_COPIED);
    repaint(window);
    return ok_status();
}

Status start_image_search(App& app, HWND window, EditorSession& session) {
    if (app.lens.receiver) return ok_status();  // one search at a time; a second press does nothing
    auto made = render_session_output(session);
    if (!made) return std::move(made).failure();
    GLIM_TRY(start_lens_search(app.lens, std::move(made->picture), window));
    session.state().image_search_in_progress = true;
    show_notice(app, NOTICE_SEARCHING);
    repaint(window);
    return ok_status();
}

Status run_output(App& app, HWND window, EditorSession& session, const ActionOutcome& outcome) {
    switch (outcome.output) {
        case SessionOutput::None: return ok_status();
        case SessionOutput::CopyColourCode: return copy_colour_code(app, window, outcome.colour);
        case SessionOutput::ImageSearch: return start_image_search(app, window, session);
        case SessionOutput::LiveCapture: return toggle_live_capture(session.state(), session.origin(), window);
        case SessionOutput::CopyImage: return copy_image(app, window, session);
        case SessionOutput::Save: return save_capture(app, window, session, false);
        case SessionOutput::SaveAs: return save_capture(app, window, session, true);
        case SessionOutput::Close: save_and_bake_board(app, window, std::nullopt); return ok_status();
    }
    return ok_status();
}

}  // namespace

Result<SessionPicture> render_session_output(EditorSession& session) {
    EditorState& state = session.state();
    SessionPicture made;
    if (state.live_capture) {
        auto grab = regrab_virtual_screen(state, session.origin());
        if (!grab) return std::move(grab).failure();
        made.live_frame = std::move(grab->image);
    }
    if (!state.capture_selection) return make_app_error(TextId::error_no_region);
    auto picture = render_region(state, made.frame(state));
    if (!picture) return std::move(picture).failure();
    made.picture = std::move(*picture);
    return made;
}

Status run_session_output(App& app, HWND window, const ActionOutcome& outcome) {
    EditorSession* session = open_editor_session(app);
    if (!session) return ok_status();
    try {
        return run_output(app, window, *session, outcome);
    } catch (const std::bad_alloc&) {
        // Pictures of the whole screen are large; the capture stays open.
        return out_of_memory("The capture's output");
    }
}

Status finish_session_search(App& app, HWND window) {
    if (!app.lens.receiver) return ok_status();
    const std::optional<std::wstring> refusal = finish_lens_search(app.lens, window, app.outputs.lens);
    if (app.lens.receiver) return ok_status();  // the worker has not sent yet
    if (EditorSession* session = open_editor_session(app)) session->state().image_search_in_progress = false;
    if (refusal) show_message_box(window, *refusal);
    repaint(window);
    return ok_status();
}

}  // namespace glimmerly
