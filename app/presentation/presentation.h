#pragma once
// Presentation mode's state as the application window sees it: attached to
// the window as a property, borrowed for one message at a time, and asked to
// register its shortcuts at start-up. The effects themselves (pointer,
// spotlight, loupe, shapes, the keys display) are not built yet: the state
// keeps its toggles, every feature starts off, and nothing registers a key
// or turns raw input on, so no presentation message is ever asked for.

#include <windows.h>

#include <memory>
#include <optional>
#include <vector>

#include "app/app/borrow_cell.h"
#include "core/base/result.h"
#include "core/settings/settings.h"
#include "text/text_table.h"

namespace glimmerly {

inline constexpr wchar_t PRESENTATION_STATE_PROPERTY[] = L"Glimmerly.PresentationState";

struct PresentationFeatures {
    bool pointer_effects = false;
    bool magnifier = false;
    bool temporary_shapes = false;
    bool keyboard = false;
    bool mouse = false;
};

struct PresentationState {
    HWND window = nullptr;
    PresentationFeatures features;
    // The features paused while a capture runs; none outside a capture.
    std::optional<PresentationFeatures> saved_features;
    // Key presses are skipped while this is set (only releases are shown).
    bool skip_key_presses = false;
    // The temporary-shapes layer, once it exists.
    HWND shapes_window = nullptr;
    // The window in the foreground when the tray popup opened, for the
    // effects that give the foreground back.
    HWND previous_foreground = nullptr;
};

using PresentationCell = BorrowCell<PresentationState>;

// Builds the state and attaches it to the window; on failure nothing is attached.
Result<std::unique_ptr<PresentationCell>> attach_presentation_state(HWND window, const Settings& settings);
// Removes the property and releases the state.
void destroy_presentation_state(std::unique_ptr<PresentationCell> cell);
// The state attached to the window, or null.
PresentationCell* attached_presentation_state(HWND window);

// Start-up: the pointer shortcuts, then the shortcuts of the stored
// features; answers the texts of the shortcuts that could not be registered.
// When that fails, presentation is switched off whole before the failure
// is returned.
Result<std::vector<TextId>> apply_startup_presentation(PresentationState& state);

// Everything off, input off, windows closed: presentation after a failure.
void stop_presentation(PresentationState& state);

// 91 to 93 arm a temporary shape: not built, so they say so.
Status handle_presentation_hotkey(PresentationState& state, int id);
// Whether a temporary shape waits to be drawn.
bool temporary_shape_armed(const PresentationState& state);
// A popup toggle (101 to 107) flipped in the state, which the menu shows.
// Moving the keys-and-mouse display (106) is not built and says so.
Status toggle_presentation_feature(PresentationState& state, std::uint32_t command);
// The presentation part of new settings: nothing is registered or shown
// by presentation mode yet, so there is nothing to redo.
Status apply_presentation_settings(PresentationState& state, const Settings& settings);
Status tick_presentation(PresentationState& state);
Status refresh_loupe_sources(PresentationState& state);
Status drain_loupe_frames(PresentationState& state);
// A key from the low-level hook: wParam the virtual key, lParam the scan code and flags.
Status record_key_report(PresentationState& state, WPARAM key, LPARAM flags);
// One raw-input record (keyboard or mouse).
Status handle_raw_input(PresentationState& state, const RAWINPUT& input);
// After a display change.
Status rebuild_presentation_windows(PresentationState& state);

}  // namespace glimmerly
