#pragma once
// Settings the application window writes later than the event that changed
// them (the capture editor's tool sizes), and the board's stored visibility.

#include <windows.h>

#include <cstdint>
#include <optional>

#include "core/base/result.h"
#include "core/editor/editor_state.h"

namespace glimmerly {

struct App;

// The open capture's stroke width and eraser size in view pixels, and the
// view's scale, as the editor shows them.
struct SessionToolSizes {
    double stroke_width = 0.0;
    double eraser_size = 0.0;
    double scale = 1.0;
};

// At the end of every handled message while a capture is open: sizes that
// changed are written 250 ms after the last change (at once when no timer
// can be set). A scale of 0 or one that is not finite writes nothing, and
// so does a process that keeps no settings file.
Status schedule_tool_size_save(App& app, HWND window, const std::optional<SessionToolSizes>& sizes);

// TIMER_SETTINGS_SAVE: waits out the deadline, then writes the pending
// sizes once; a stray tick after that writes nothing.
Status run_settings_save_timer(App& app, HWND window);

// As a capture ends: its sizes, and a pair still waiting for the timer, are
// written now. The editor process ends with its capture, timer and all.
// The colour the picker or the eyedropper delivered, stored once in the
// settings (the file too when this run keeps one), so that every later
// capture's picker opens on it. A failure is told once: the colour is not
// tried again with every message.
Status store_custom_colour(App& app, EditorState& state);

Status save_tool_sizes_now(App& app, HWND window, const std::optional<SessionToolSizes>& sizes);

// The board's visibility in the settings file (when the run keeps one),
// then in the App; a failed write changes neither.
Status set_board_visibility(App& app, bool visible);

// Rewrites the board-visibility byte of the settings file under its lock.
// The editor's remembered choices at the end of its session: the wheel
// hint, once a wheel step cleared it, and the mini toolbar's fold when it
// differs from what the settings hold. Without a settings file of its own
// (keeps_settings off) only the process's copy changes.
Status store_editor_choices(App& app, const EditorState& state);
Status store_board_visibility(bool visible);

}  // namespace glimmerly
