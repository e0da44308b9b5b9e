#pragma once
// The open capture of an editor process: its editing state, shown by the
// application window itself, which covers the whole virtual screen above
// every other window while the capture is open.

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app/app.h"
#include "app/app/capture_session.h"
#include "core/base/pixel_rect.h"
#include "core/board/board_page.h"
#include "core/editor/editor_routing.h"
#include "core/editor/editor_state.h"
#include "text/text_table.h"
#include "ui/capture/cursor_cache.h"
#include "ui/capture/window_typing.h"

namespace glimmerly {

// What makes a session a board session: the monitors as listed when the
// board opened, which its page is cut back into, and the board folder.
struct BoardSession {
    std::vector<BoardScreen> monitors;
    std::wstring folder;
    // The page could not be saved once: the notes went to the side file,
    // and the next close leaves without saving, so that a page damaged on
    // disk cannot hold the user in the editor.
    bool save_failed = false;
};

class EditorSession final : public CaptureSession {
public:
    EditorSession(EditorState state, PixelPoint origin) : state_(std::move(state)), origin_(origin) {}

    EditorState& state() { return state_; }
    // Where the frame's top-left corner lies on the virtual screen.
    PixelPoint origin() const { return origin_; }
    // The text box and the size fields; with neither built on the window,
    // the defaults of a window that has none open.
    WindowTyping& typing() { return *typing_; }
    void set_typing(std::unique_ptr<WindowTyping> typing) { typing_ = std::move(typing); }
    // Objects copied in this capture, for pasting.
    HeldObjects& held_objects() { return held_; }
    // The editable document the capture was opened from: saving writes it in place.
    const std::optional<std::wstring>& document_path() const { return document_path_; }
    void set_document_path(std::wstring path) { document_path_ = std::move(path); }
    std::optional<BoardSession>& board() { return board_; }
    CursorCache& cursors() { return cursors_; }
    // The first failure of a paint passes, to be shown; later ones are
    // dropped: every paint would fail the same way, and each box would
    // bring another paint.
    Status first_paint_failure(Status painted);

    bool take_key(HWND, std::uint32_t key, bool ctrl_down) override { return typing_->take_key(key, ctrl_down); }
    // A capture starts from the remembered sizes grown by the interface
    // scale; the same scale divided out gives back what to remember.
    std::optional<SessionToolSizes> tool_sizes() const override {
        return SessionToolSizes{state_.stroke_width, state_.eraser_size, state_.applied_interface_scale};
    }

private:
    EditorState state_;
    PixelPoint origin_;
    std::unique_ptr<WindowTyping> typing_ = std::make_unique<WindowTyping>();
    HeldObjects held_;
    std::optional<std::wstring> document_path_;
    std::optional<BoardSession> board_;
    CursorCache cursors_;
    bool paint_failure_told_ = false;
};

// The App's open capture when it is an editor session.
EditorSession* open_editor_session(App& app);

// Every monitor, relative to the frame's origin, with its DPI scale.
std::vector<MonitorArea> enumerate_monitors(PixelPoint origin);

// Puts the state into the App and brings the window up over the frame,
// topmost and in the foreground. A window that cannot be placed leaves no
// session, so that the failure ends the editor process.
Status install_editor_state(App& app, HWND window, EditorState state, PixelPoint origin);

// The closing steps of every session (save_and_bake_board runs the board's
// own first): the window hides, the tool sizes and colour are stored, an
// editor child tells its owner the region, the state goes, the text (if
// any) is shown, and a process that was started for one session quits with
// 0, after its notice has faded when it shows one.
void leave_editor_session(App& app, HWND window, std::optional<TextId> text);

// WM_PAINT of the capture's window; the caret's next blink is asked for
// with TIMER_SESSION_FRAME.
Status paint_editor_window(App& app, HWND window);
// The frozen screen at once, from the handler that opened the capture, so
// that the screen seems to stop at the key press; the whole frame, drawn by
// the renderer, follows with the WM_PAINT of the window left invalid.
Status paint_editor_now(App& app, HWND window);
Status receive_editor_renderer(App& app, HWND window);

}  // namespace glimmerly
