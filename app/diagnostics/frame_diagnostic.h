#pragma once
// The editor's own timing of its first frame, in an editor process started
// with "--first-frame-diagnostic": from the system's record of the process's
// creation to its first painted frame and its first frame drawn with
// hardware rendering ("target/first-frame-diagnostics.txt"), or, for a
// prepared editor, from the activation request to its first painted frame
// ("target/warm-frame-diagnostics.txt"). A written report ends the capture.

#include <windows.h>

#include <cstdint>

#include "core/base/result.h"

namespace glimmerly {

struct App;

enum class FrameDiagnosticState : std::uint8_t { Armed = 0, Latched = 1, Off = 2 };

struct FrameDiagnostic {
    FrameDiagnosticState state = FrameDiagnosticState::Off;
    double latched_ms = 0;  // the first painted frame's, once latched
    bool warm_start_present = false;
    std::int64_t warm_start = 0;  // QueryPerformanceCounter at the request, the same counter in every process
};

// After one paint: latches the first frame and, with `write_now` (the frame
// was drawn with hardware rendering) or a warm start, writes the report.
// Answers whether it was written.
Result<bool> write_frame_diagnostic(FrameDiagnostic& record, bool write_now);

// A start-a-capture request's wParam: the requester's performance counter,
// or 0 when it timed nothing.
void store_warm_start(FrameDiagnostic& record, WPARAM request_counter);

// WM_PAINT of the capture's window, followed, while the record is armed, by
// the report and the end of the capture once the report is written.
Status paint_editor_window_and_report(App& app, HWND window);

}  // namespace glimmerly
