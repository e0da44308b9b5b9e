#pragma once
// The editor's output words carried out on the window side: the picture to
// the clipboard, to a file or to the image search, a colour code, live
// capture, and the end of the capture. Each tells the user with a notice
// (through the resident, from an editor child) and ends the capture where
// the word means to: after a copy of the picture, a save and a close. A
// failure leaves the capture open and is the caller's to show.

#include <windows.h>

#include <optional>

#include "app/app/app.h"
#include "app/app/editor_session.h"
#include "core/editor/editor_actions.h"

namespace glimmerly {

Status run_session_output(App& app, HWND window, const ActionOutcome& outcome);

// On WM_APP_LENS_DONE: the finished search's page goes to the browser
// through the App's openers, or a message box says why not; the capture
// stays open. Nothing while no search runs or its worker has not sent.
Status finish_session_search(App& app, HWND window);

// The picture an output gives: the selection of the frame with the fills and
// objects drawn on it. While live capture is on the frame is a fresh grab,
// used for this output only.
struct SessionPicture {
    std::optional<BgraImage> live_frame;
    BgraImage picture;

    const BgraImage& frame(const EditorState& state) const { return live_frame ? *live_frame : state.frozen_frame; }
};
// "error.no_region" without a selection.
Result<SessionPicture> render_session_output(EditorSession& session);

}  // namespace glimmerly
