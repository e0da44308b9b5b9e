#include "app/presentation/presentation.h"

#include "app/app/messages.h"
#include "app/presentation/devices.h"
#include "app/presentation/events.h"
#include "app/presentation/loupe_capture.h"
#include "app/presentation/pointer_effects.h"
#include "app/presentation/presentation_shortcuts.h"
#include "app/presentation/shapes.h"
#include "app/win/failure.h"
#include "core/presentation/keystrokes.h"

namespace glimmerly {
namespace {

void copy_settings(PresentationState& state, const Settings& settings) {
    state.pointer_settings = settings.pointer;
    state.halo_colour = settings.presentation_color_1;
    state.shape_colour = settings.presentation_color_2;
    state.shape_width = settings.presentation_stroke_width;
    state.arrow_size = settings.presentation_arrow_size;
    state.shape_duration_ms = settings.presentation_duration_ms;
    state.input_display_size = settings.input_display_size;
    state.input_display_position = settings.input_display_position;
    state.input_display_offset = settings.input_display_offset;
    state.shortcuts.drawing = settings.shape_shortcuts;
    state.obs_mirror = settings.obs_mirror;
}

bool foreground_layout_is_us() {
    const HKL layout = GetKeyboardLayout(GetWindowThreadProcessId(GetForegroundWindow(), nullptr));
    return is_us_layout(reinterpret_cast<LayoutHandle>(layout));
}

// The device features' share of a change of the feature word.
Status apply_device_features(PresentationState& state, PresentationFeatures before, PresentationFeatures wanted) {
    if (before.keyboard != wanted.keyboard || before.mouse != wanted.mouse) {
        state.keys = {};
        state.shown_input = {};
    }
    if (wanted.keyboard && !before.keyboard) state.us_layout = foreground_layout_is_us();
    if (device_feature(wanted) && !device_feature(before)) {
        POINT at{};
        if (!GetCursorPos(&at)) return win::win32_failure("GetCursorPos");
        state.device_anchor = {at.x, at.y};
    }
    if (!device_feature(wanted)) {
        if (state.device_layer && state.moving && GetCapture() == state.device_layer->window.get()) ReleaseCapture();
        state.moving = state.move_armed = false;
        state.device_layer.reset();
    }
    if (!wanted.temporary_shapes) {
        GLIM_TRY(disarm_temporary_shape(state));
        state.shapes = {};
        state.shapes_layer.reset();
    }
    return ok_status();
}

// The halo starts where the pointer is, before any mouse input arrives.
void start_pointer_at(PresentationState& state, POINT at) {
    state.pointer.displayed = Point{double(at.x), double(at.y)};
    state.pointer.cursor = state.pointer.displayed;
    state.pointer.easing_time = presentation_now(state);
}

// The first failure of `first` and `then` wins.
Status first_of(Status first, Status then) { return first ? std::move(then) : std::move(first); }

// The windows, their pictures and the timer brought in line with the
// features that are already stored.
Status show_features(PresentationState& state) {
    if (device_feature(state.features)) GLIM_TRY(show_device_layer(state));
    GLIM_TRY(place_pointer_layer(state));
    if (state.pointer_layer) GLIM_TRY(render_presentation_layer(state, state.pointer_layer->window.get()));
    if (cursor_feature(state.features) && pointer_effects_visible(effective_settings(state)))
        GLIM_TRY(update_pointer_effects(state));
    return schedule_presentation_timer(state);
}

// A failure after input was registered turns everything off.
Status or_stop(PresentationState& state, Status done) {
    if (done) return done;
    (void)stop_presentation(state);
    return done;
}

}  // namespace

Result<std::unique_ptr<PresentationCell>> attach_presentation_state(HWND window, const Settings& settings) {
    auto cell = std::make_unique<PresentationCell>();
    {
        auto state = cell->try_borrow();
        state->window = window;
        state->cell = cell.get();
        state->base_tick = GetTickCount64();
        copy_settings(*state, settings);
    }
    if (!SetPropW(window, PRESENTATION_STATE_PROPERTY, cell.get()))
        return win::win32_failure("SetPropW", PRESENTATION_STATE_PROPERTY);
    return cell;
}

void destroy_presentation_state(std::unique_ptr<PresentationCell> cell) {
    if (!cell) return;
    auto state = cell->try_borrow();
    if (!state) return;
    if (state->window) RemovePropW(state->window, PRESENTATION_STATE_PROPERTY);
    unregister_pointer_shortcuts(*state);
    (void)set_presentation_input(*state, {});
    stop_shortcut_listener(state->listener);
    (void)close_presentation_windows(*state);
}

PresentationCell* attached_presentation_state(HWND window) {
    return static_cast<PresentationCell*>(GetPropW(window, PRESENTATION_STATE_PROPERTY));
}

std::uint64_t presentation_now(const PresentationState& state) { return age_ms(GetTickCount64(), state.base_tick); }

Result<std::vector<TextId>> apply_startup_presentation(PresentationState& state) {
    (void)register_pointer_shortcuts(state);
    auto unavailable = apply_presentation_shortcuts(state, state.features);
    if (!unavailable) (void)stop_presentation(state);
    return unavailable;
}

Status withdraw_presentation_shortcuts(PresentationState& state) {
    unregister_pointer_shortcuts(state);
    GLIM_TRY(disarm_temporary_shape(state));
    PresentationFeatures kept = state.features;
    kept.temporary_shapes = false;
    return set_presentation_input(state, kept);
}

Status apply_presentation_features(PresentationState& state, PresentationFeatures wanted) {
    if (!any_feature(wanted)) return stop_presentation(state);
    LayerPointer held;
    std::optional<POINT> started_at;
    if (cursor_feature(wanted) && !state.pointer_layer) {
        POINT at{};
        if (!GetCursorPos(&at)) return win::win32_failure("GetCursorPos");
        const PointerSettings settings = effective_pointer_settings(state.pointer_settings, wanted.pointer_effects,
                                                                    wanted.magnifier || state.magnifier_held);
        const std::uint32_t dpi = monitor_dpi_at(at);
        const std::int32_t side = pointer_layer_size(settings, dpi);
        const PixelPoint origin{at.x - side / 2, at.y - side / 2};
        auto made = state.make_layer(origin.x, origin.y, side, side, state.cell);
        if (!made) return std::move(made).failure();
        held = std::move(*made);
        attach_broadcast_mirror(state, *held, kMirrorPointerSlot);
        held->position = origin;
        state.pointer_origin = origin;
        state.scale = dpi / 96.0;
        started_at = at;
    }
    // A shortcut another program holds is no failure here: the callers that
    // tell the user about it apply the shortcuts themselves.
    if (auto input = apply_presentation_shortcuts(state, wanted); !input)
        return or_stop(state, std::move(input).failure());
    const PresentationFeatures before = state.features;
    state.features = wanted;
    if (Status devices = apply_device_features(state, before, wanted); !devices) return or_stop(state, std::move(devices));
    if (held) {
        state.pointer_layer = std::move(held);
        state.pointer_monitor.reset();
        state.previous_dirty.reset();
        start_pointer_at(state, *started_at);
    }
    if (!wanted.pointer_effects) state.spotlight.reset();
    if (!cursor_feature(wanted)) {
        state.pointer_layer.reset();
        state.pointer_monitor.reset();
        state.previous_dirty.reset();
        state.buttons = {};
        state.pointer = {};
    }
    (void)register_pointer_shortcuts(state);
    if (!device_feature(wanted)) state.move_armed = false;
    drop_unused_mirror(state);
    return or_stop(state, show_features(state));
}

Status stop_presentation(PresentationState& state) {
    state.saved_features.reset();
    state.features = {};
    Status input = set_presentation_input(state, {});
    return first_of(std::move(input), close_presentation_windows(state));
}

Status close_presentation_windows(PresentationState& state) {
    unregister_pointer_shortcuts(state);
    if (state.device_layer && state.moving && GetCapture() == state.device_layer->window.get()) ReleaseCapture();
    state.moving = false;
    Status disarmed = disarm_temporary_shape(state);
    state.shapes = {};
    state.shapes_layer.reset();
    state.device_layer.reset();
    state.move_armed = false;
    state.shown_input = {};
    state.spotlight.reset();
    state.pointer_layer.reset();
    state.pointer_monitor.reset();
    state.previous_dirty.reset();
    state.buttons = {};
    state.pointer = {};
    state.spotlight_refresh = state.spotlight_key_held = state.magnifier_held = false;
    state.loupe.reset();
    state.mirror.reset();
    if (state.timer.set) KillTimer(state.window, TIMER_PRESENTATION_FRAME);
    state.timer = {};
    return disarmed;
}

Status suspend_presentation(PresentationState& state) {
    if (state.saved_features) return ok_status();
    state.saved_features = state.features;
    state.saved_anchor = state.device_anchor;
    state.features = {};
    Status input = set_presentation_input(state, {});
    return first_of(std::move(input), close_presentation_windows(state));
}

Status resume_presentation(PresentationState& state) {
    if (!state.saved_features) return ok_status();
    const PresentationFeatures wanted = *std::exchange(state.saved_features, std::nullopt);
    GLIM_TRY(apply_presentation_features(state, wanted));
    if (!device_feature(wanted)) return ok_status();
    // The display goes back to the monitor it was on, not the pointer's.
    state.device_anchor = state.saved_anchor;
    return or_stop(state, show_device_layer(state));
}

bool temporary_shape_armed(const PresentationState& state) { return state.shapes.armed != TemporaryShapeKind::None; }

HWND shapes_layer_window(const PresentationState& state) {
    return state.shapes_layer ? state.shapes_layer->window.get() : nullptr;
}

namespace {

// "Move keyboard and mouse": arms the move (switching the keyboard display
// on when neither display is), or ends it.
Status toggle_device_move(PresentationState& state) {
    if (state.move_armed) {
        GLIM_TRY(end_device_layer_drag(state));
        state.move_armed = false;
        return or_stop(state, show_device_layer(state));
    }
    if (!device_feature(state.features)) {
        PresentationFeatures wanted = state.features;
        wanted.keyboard = true;
        GLIM_TRY(apply_presentation_features(state, wanted));
    }
    state.move_armed = true;
    return or_stop(state, show_device_layer(state));
}

}  // namespace

Status toggle_presentation_feature(PresentationState& state, std::uint32_t command) {
    PresentationFeatures wanted = state.features;
    switch (command) {
        case 101: wanted.pointer_effects = !wanted.pointer_effects; break;
        case 102: wanted.temporary_shapes = !wanted.temporary_shapes; break;
        case 103: wanted.keyboard = !wanted.keyboard; break;
        case 104: wanted.mouse = !wanted.mouse; break;
        case 106: return toggle_device_move(state);
        case 107: wanted.magnifier = !wanted.magnifier; break;
        default: return ok_status();
    }
    return apply_presentation_features(state, wanted);
}

Status apply_presentation_settings(PresentationState& state, const Settings& settings) {
    const bool mirror_switched = state.obs_mirror != settings.obs_mirror;
    const ShortcutsInForce before = shortcuts_in_force(state);
    copy_settings(state, settings);
    GLIM_TRY(register_changed_shortcuts(state, before));
    // Every layer made again, with its mirror slot or without: a mirror that
    // layers still held would outlive the switch.
    if (mirror_switched) GLIM_TRY(rebuild_presentation_windows(state));
    if (!cursor_feature(state.features) && !device_feature(state.features)) return ok_status();
    // Nothing may animate to take it down at the next frame.
    if (state.pointer_settings.spotlight_shape == 0) state.spotlight.reset();
    return or_stop(state, show_features(state));
}

void drop_unused_mirror(PresentationState& state) {
    if (state.mirror.use_count() == 1) state.mirror.reset();
}

Status drain_loupe_frames(PresentationState& state) {
    if (state.loupe)
        drain_loupe_frames(*state.loupe);
    else
        clear_loupe_frame_pending();  // a frame announced as the loupe went must not silence the next loupe's
    return ok_status();
}

Status rebuild_presentation_windows(PresentationState& state) {
    if (state.saved_features) return ok_status();
    GLIM_TRY(close_presentation_windows(state));
    // Closing let go of the pointer shortcuts with the windows; the features
    // stay on, so their shortcuts must be held again. One that another
    // program holds is shown on its row, as at any other registration.
    (void)register_pointer_shortcuts(state);
    if (cursor_feature(state.features)) {
        POINT at{};
        if (!GetCursorPos(&at)) return or_stop(state, win::win32_failure("GetCursorPos"));
        start_pointer_at(state, at);
    }
    // Shown again at once, as when the features were switched on: a pointer
    // move that came before the rebuild has drawn its frame already, and the
    // spotlight would stay away until the next one.
    return or_stop(state, show_features(state));
}

}  // namespace glimmerly
