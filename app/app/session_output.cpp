#include "app/app/session_output.h"

#include "app/app/editor_session.h"

namespace glimmerly {

Status run_session_output(App& app, HWND window, const ActionOutcome& outcome) {
    if (outcome.output == SessionOutput::Close) end_capture_session(app, window, std::nullopt);
    return ok_status();
}

}  // namespace glimmerly
