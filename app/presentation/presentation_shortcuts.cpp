#include "app/presentation/presentation_shortcuts.h"

#include "app/app/hotkeys.h"
#include "app/presentation/shapes.h"
#include "app/presentation/pointer_effects.h"
#include "app/win/failure.h"

namespace glimmerly {
namespace {

constexpr USHORT kGenericDesktop = 1;
constexpr USHORT kMouseUsage = 2;
constexpr USHORT kKeyboardUsage = 6;

class WindowInput final : public PresentationInputHost {
public:
    explicit WindowInput(PresentationState& state) : state_(state) {}

    Status register_hotkey(std::int32_t id, Shortcut shortcut) override {
        if (!RegisterHotKey(state_.window, id, MOD_NOREPEAT | shortcut.modifiers, shortcut.key))
            return win::win32_failure("RegisterHotKey");
        return ok_status();
    }
    void unregister_hotkey(std::int32_t id) override { UnregisterHotKey(state_.window, id); }

    // Only the devices whose state changes are named: removing one that
    // was never registered is not asked of the system.
    Status register_raw_input(bool mouse, bool keyboard) override {
        RAWINPUTDEVICE devices[2]{};
        UINT count = 0;
        const auto entry = [&](USHORT usage, bool on) {
            devices[count++] = {kGenericDesktop, usage, on ? DWORD{RIDEV_INPUTSINK} : DWORD{RIDEV_REMOVE},
                                on ? state_.window : nullptr};
        };
        if (mouse != state_.raw_mouse) entry(kMouseUsage, mouse);
        if (keyboard != state_.raw_keyboard) entry(kKeyboardUsage, keyboard);
        if (count == 0) return ok_status();
        if (!RegisterRawInputDevices(devices, count, sizeof(RAWINPUTDEVICE)))
            return win::win32_failure("RegisterRawInputDevices");
        state_.raw_mouse = mouse;
        state_.raw_keyboard = keyboard;
        return ok_status();
    }

    bool listener_running() override { return state_.listener.running(); }
    void stop_listener() override { stop_shortcut_listener(state_.listener); }
    Status start_listener(const HookSlots& slots, bool report_keys) override {
        auto started = start_shortcut_listener(state_.window, slots, report_keys);
        if (!started) return std::move(started).failure();
        state_.listener = std::move(*started);  // the earlier thread, if any, stops here
        return ok_status();
    }

private:
    PresentationState& state_;
};

Status spotlight_held(PresentationState& state) {
    if (!state.features.pointer_effects) return ok_status();
    state.spotlight_key_held = true;
    state.spotlight_refresh = true;
    return schedule_presentation_timer(state);
}

}  // namespace

Status set_presentation_input(PresentationState& state, PresentationFeatures features) {
    WindowInput host(state);
    return set_presentation_input(state.shortcuts, features, host);
}

Result<std::vector<TextId>> apply_presentation_shortcuts(PresentationState& state, PresentationFeatures features) {
    WindowInput host(state);
    return apply_presentation_shortcuts(state.shortcuts, features, host);
}

Status register_pointer_shortcuts(PresentationState& state) {
    state.pointer_shortcuts.shortcuts = {state.pointer_settings.show_click_shortcut,
                                         state.pointer_settings.spotlight_shortcut,
                                         state.pointer_settings.magnifier_shortcut};
    // The held flags belong to the keys just let go.
    state.spotlight_key_held = state.magnifier_held = false;
    WindowInput host(state);
    return register_pointer_shortcuts(state.pointer_shortcuts, cursor_feature(state.features), host);
}

void unregister_pointer_shortcuts(PresentationState& state) {
    WindowInput host(state);
    unregister_pointer_shortcuts(state.pointer_shortcuts, host);
    state.spotlight_key_held = state.magnifier_held = false;
}

ShortcutsInForce shortcuts_in_force(const PresentationState& state) {
    const PointerSettings& pointer = state.pointer_settings;
    return {state.shortcuts.drawing,
            {pointer.show_click_shortcut, pointer.spotlight_shortcut, pointer.magnifier_shortcut}};
}

Status register_changed_shortcuts(PresentationState& state, const ShortcutsInForce& before) {
    const ShortcutsInForce now = shortcuts_in_force(state);
    // One that cannot be had is shown on its row; the others still register.
    if (now.pointer != before.pointer) (void)register_pointer_shortcuts(state);
    if (now.drawing == before.drawing || !state.shortcuts.applied.temporary_shapes) return ok_status();
    auto unavailable = apply_presentation_shortcuts(state, state.shortcuts.applied);
    if (unavailable) return ok_status();
    (void)stop_presentation(state);
    return std::move(unavailable).failure();
}

Status handle_presentation_hotkey(PresentationState& state, int id) {
    switch (id) {
        case HOTKEY_ID_PRESENTATION_STOP: return stop_presentation(state);
        case HOTKEY_ID_DRAW_ARROW:
        case HOTKEY_ID_DRAW_RECTANGLE:
        case HOTKEY_ID_DRAW_ELLIPSE:
            return arm_temporary_shape(state, static_cast<TemporaryShapeKind>(id - HOTKEY_ID_DRAW_ARROW));
        case HOTKEY_ID_SHOW_CLICK: return handle_pointer_shortcut(state, 0);
        case HOTKEY_ID_SPOTLIGHT: return handle_pointer_shortcut(state, 1);
        case HOTKEY_ID_MAGNIFIER: return handle_pointer_shortcut(state, 2);
        default: return ok_status();
    }
}

Status handle_pointer_shortcut(PresentationState& state, int which) {
    if (!cursor_feature(state.features)) return ok_status();
    const std::uint64_t now = presentation_now(state);
    POINT at{};
    if (!GetCursorPos(&at)) return win::win32_failure("GetCursorPos");
    switch (which) {
        case 0:
            if (!state.features.pointer_effects) return ok_status();
            // Shown, not clicked: no sound plays.
            add_click_mark(state.pointer, at.x, at.y, now, 0);
            state.spotlight_refresh = true;
            return schedule_presentation_timer(state);
        case 1: return spotlight_held(state);
        case 2:
            if (!state.pointer_settings.magnifier_hold) {
                PresentationFeatures flipped = state.features;
                flipped.magnifier = !flipped.magnifier;
                return apply_presentation_features(state, flipped);
            }
            state.magnifier_held = true;
            return refresh_pointer_overlays(state);
        default: return ok_status();
    }
}

Status refresh_pointer_overlays(PresentationState& state) {
    GLIM_TRY(place_pointer_layer(state));
    const PointerSettings& stored = state.pointer_settings;
    const bool magnified = state.features.magnifier || state.magnifier_held;
    const bool smooth = !magnified && stored.halo_movement == 1;
    const bool animated = state.features.pointer_effects &&
                          (stored.trail_style != 0 || stored.click_animation != 0 || stored.spotlight_shape != 0);
    if (smooth || animated)
        GLIM_TRY(update_pointer_effects(state));
    else if (state.pointer_layer)
        GLIM_TRY(render_presentation_layer(state, state.pointer_layer->window.get()));
    return schedule_presentation_timer(state);
}

}  // namespace glimmerly
