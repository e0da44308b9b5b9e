#pragma once
// Presentation mode's state as the application window sees it: attached to
// the window as a property, borrowed for one message at a time. The pointer
// effects (halo, trail, click marks, spotlight) follow the real pointer
// through raw mouse input on click-through windows; its shortcuts (90 to 96)
// and the keyboard hook come and go with the features, and typed keys are
// recorded for the keys-and-mouse display, which has a layer of its own, as
// the temporary shapes have. The magnifier's loupe follows the pointer.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "app/app/borrow_cell.h"
#include "app/app/keyboard_hook.h"
#include "app/presentation/layer.h"
#include "app/presentation/loupe.h"
#include "app/presentation/spotlight.h"
#include "core/base/result.h"
#include "core/pointer/frame_timer.h"
#include "core/pointer/pointer_paint.h"
#include "core/pointer/pointer_state.h"
#include "core/pointer/presentation_features.h"
#include "core/presentation/key_display.h"
#include "core/presentation/presentation_shortcuts.h"
#include "core/presentation/shown_input.h"
#include "core/presentation/temporary_shapes.h"
#include "core/settings/settings.h"
#include "text/text_table.h"

namespace glimmerly {

inline constexpr wchar_t PRESENTATION_STATE_PROPERTY[] = L"Glimmerly.PresentationState";

struct PresentationState;
using PresentationCell = BorrowCell<PresentationState>;

// Makes a layer window; tests put in one that fails.
using LayerMaker = Result<LayerPointer> (*)(std::int32_t x, std::int32_t y, std::int32_t width,
                                            std::int32_t height, void* state_cell);

struct PresentationState {
    HWND window = nullptr;
    // The cell this state lives in: the layer windows' creation parameter.
    PresentationCell* cell = nullptr;
    PresentationFeatures features;
    // Hotkeys 90 to 93 as last applied, and 94 to 96.
    PresentationShortcuts shortcuts;
    PointerShortcuts pointer_shortcuts;
    // The "Glimmerly shortcuts" thread, while the keys display is on or a
    // drawing shortcut is handed to its hook.
    ShortcutListener listener;
    // The raw input registered on the window.
    bool raw_mouse = false;
    bool raw_keyboard = false;
    // The features paused while a capture runs; none outside a capture.
    std::optional<PresentationFeatures> saved_features;
    // The keys display's record, and whether the foreground layout was US
    // when a shown key was last pressed.
    KeyDisplay keys;
    bool us_layout = false;
    // The keys-and-mouse display is being placed: Esc or Enter ends it.
    bool move_armed = false;
    // The window in the foreground when the tray popup opened or a shape
    // was armed, for the effects that give the foreground back.
    HWND previous_foreground = nullptr;

    // The presentation part of the settings.
    PointerSettings pointer_settings;
    Rgb halo_colour;
    Rgb shape_colour{0xED, 0x4F, 0x5C};
    std::uint32_t shape_width = 5;
    std::uint32_t arrow_size = 28;
    std::uint32_t shape_duration_ms = 3000;
    std::uint32_t input_display_size = 100;
    std::uint8_t input_display_position = 4;
    std::optional<InputDisplayOffset> input_display_offset;

    // Temporary shapes, and the layer over the whole virtual screen that
    // shows them (and takes the mouse while one is armed).
    TemporaryShapes shapes;
    LayerPointer shapes_layer;
    PixelPoint shapes_origin;
    // Wheel delta not yet a whole notch.
    std::int32_t wheel_remainder = 0;

    // The keys-and-mouse display: its layer on the monitor that holds the
    // anchor, and its move by dragging.
    LayerPointer device_layer;
    PixelPoint device_anchor;
    // The work area the display was last placed in.
    PixelRect device_work_area;
    // The anchor while a capture has the features paused.
    PixelPoint saved_anchor;
    bool moving = false;
    PixelPoint grab_cursor;
    PixelPoint grab_window;
    // The mouse buttons and wheel as the display shows them.
    ShownInput shown_input;

    MouseButtonState buttons;
    PointerState pointer;
    LayerPointer pointer_layer;
    // Where the pointer layer's picture starts on the screen, and the
    // monitor it covers while it is monitor-wide.
    PixelPoint pointer_origin;
    std::optional<PixelRect> pointer_monitor;
    // The pointer's monitor's dpi / 96.
    double scale = 1.0;
    std::optional<std::uint64_t> last_effects_update;
    // How long the last frame of the pointer effects took, which paces the next.
    std::uint32_t last_frame_ms = 0;
    // What the last frame-by-frame update drew, in layer pixels.
    std::optional<PixelRect> previous_dirty;
    FrameTimer timer;
    bool spotlight_refresh = false;
    bool spotlight_key_held = false;
    std::unique_ptr<SpotlightWindow> spotlight;
    bool magnifier_held = false;
    // GetTickCount64 when the state was built: presentation time starts there.
    std::uint64_t base_tick = 0;
    // The pointer layer's picture, kept so that its buffers are reused, and
    // the one the last frame-by-frame update drew (at `pointer_origin`).
    PointerPicture picture;
    PointerPicture drawn_picture, next_picture;
    LayerMaker make_layer = create_presentation_layer;
    // While the magnifier is on or its key is held.
    LoupePointer loupe;
    // The OBS mirror setting, and the mirror the layers share once one is
    // made; it stays while a layer holds it, even after the setting is off.
    bool obs_mirror = false;
    std::shared_ptr<BroadcastMirror> mirror;
};

// Builds the state and attaches it to the window; on failure nothing is attached.
Result<std::unique_ptr<PresentationCell>> attach_presentation_state(HWND window, const Settings& settings);
// Everything off, the property removed, the state released.
void destroy_presentation_state(std::unique_ptr<PresentationCell> cell);
// The state attached to the window, or null.
PresentationCell* attached_presentation_state(HWND window);

// Milliseconds since the state was built.
std::uint64_t presentation_now(const PresentationState& state);

// Start-up, and the end of choosing a shortcut: the shortcuts and input of
// the features that are on, registered afresh. Answers the texts of the
// shortcuts that could not be registered; when that fails, presentation is
// switched off whole before the failure is returned.
Result<std::vector<TextId>> apply_startup_presentation(PresentationState& state);

// While a shortcut is being chosen the program holds none of its own
// presentation shortcuts, so that pressing one is recorded instead of
// acted on: the pointer shortcuts and the drawing shortcuts go (with the
// keyboard hook's copies of them), an armed shape is dropped, the features
// stay on. `apply_startup_presentation` takes them again.
Status withdraw_presentation_shortcuts(PresentationState& state);

// Makes the mode match `wanted`: windows, input and timer. Never half on: a
// failure leaves every feature off.
Status apply_presentation_features(PresentationState& state, PresentationFeatures wanted);
// Everything off, input off, windows closed: the mode after a failure.
// Answers the first failure met on the way.
Status stop_presentation(PresentationState& state);
// Drops every presentation window, the pointer's record and the timer.
Status close_presentation_windows(PresentationState& state);
// A capture pauses the mode: the features are kept aside and switched off.
Status suspend_presentation(PresentationState& state);
// The paused features back, once the capture has ended or could not start.
Status resume_presentation(PresentationState& state);

// WM_HOTKEY 90 to 96. 91 to 93 arm a temporary arrow, rectangle or ellipse
// while shapes are on.
Status handle_presentation_hotkey(PresentationState& state, int id);
// Whether a temporary shape waits to be drawn.
bool temporary_shape_armed(const PresentationState& state);
// The shapes layer's window, or null.
HWND shapes_layer_window(const PresentationState& state);
// A popup switch (101 to 107) flipped and applied.
// 106 arms moving the keys-and-mouse display, or ends the move.
Status toggle_presentation_feature(PresentationState& state, std::uint32_t command);
// The presentation part of new settings, shown at once.
Status apply_presentation_settings(PresentationState& state, const Settings& settings);
// WM_APP_LOUPE_WINDOW_EVENT: the windows beneath are listed again.
Status refresh_loupe_sources(PresentationState& state);
// WM_APP_LOUPE_FRAME_ARRIVED.
Status drain_loupe_frames(PresentationState& state);
// A key from the low-level hook: wParam the virtual key, lParam the scan code and flags.
Status record_key_report(PresentationState& state, WPARAM key, LPARAM flags);
// The mirror let go once no layer uses it: its window goes with it.
void drop_unused_mirror(PresentationState& state);
// Every window made again (after a display change or a change of the OBS
// mirror setting); off whole on failure.
Status rebuild_presentation_windows(PresentationState& state);

}  // namespace glimmerly
