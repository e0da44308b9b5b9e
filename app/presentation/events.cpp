#include "app/presentation/events.h"

#include <utility>

#include "app/presentation/devices.h"
#include "app/presentation/pointer_effects.h"
#include "app/presentation/sound.h"
#include "app/win/failure.h"

namespace glimmerly {
namespace {

constexpr std::uint32_t kPressFlags = RI_MOUSE_LEFT_BUTTON_DOWN | RI_MOUSE_RIGHT_BUTTON_DOWN | RI_MOUSE_MIDDLE_BUTTON_DOWN;

// The pointer's part of an event: the trail, the click marks, and a frame
// or the small layer moved.
Status follow_pointer(PresentationState& state, std::uint32_t flags, std::uint64_t now) {
    POINT at{};
    if (!GetCursorPos(&at)) return win::win32_failure("GetCursorPos");
    const PointerSettings settings = effective_settings(state);
    const std::optional<Point> before = state.pointer.cursor;
    track_pointer_trail(state.pointer, at.x, at.y, now, monitor_dpi_at(at) / 96.0, settings);
    if (flags & kPressFlags) {
        for (auto [down, button] : {std::pair{RI_MOUSE_LEFT_BUTTON_DOWN, 0}, {RI_MOUSE_RIGHT_BUTTON_DOWN, 1},
                                    {RI_MOUSE_MIDDLE_BUTTON_DOWN, 2}}) {
            if (!(flags & down)) continue;
            if (settings.click_animation != 0)
                add_click_mark(state.pointer, at.x, at.y, now, static_cast<std::uint8_t>(button));
            play_click_sound(settings.click_sound, settings.click_volume);
        }
    }
    if (!pointer_effects_visible(settings)) return place_pointer_layer(state);
    // Wine reports a pointer event with keys typed over its windows (the
    // pointer entering again where it was): one that neither moved the
    // pointer nor changed a button changes nothing drawn, and its frame
    // would run just ahead of the key, a shape's shortcut among them.
    if (flags == 0 && state.pointer.cursor == before) return ok_status();
    state.spotlight_refresh = true;
    if (input_frame_due(state, now, flags == 0)) GLIM_TRY(update_pointer_effects(state));
    return schedule_presentation_timer(state);
}

class SystemKeys final : public KeystrokeHost {
public:
    std::uint16_t scan_of_key(std::uint16_t key) override {
        return static_cast<std::uint16_t>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC_EX));
    }
    bool keyboard_state(KeyboardState& state) override { return GetKeyboardState(state.data()) != FALSE; }
    LayoutHandle foreground_layout() override {
        return reinterpret_cast<LayoutHandle>(GetKeyboardLayout(GetWindowThreadProcessId(GetForegroundWindow(), nullptr)));
    }
    std::uint32_t key_of_scan(std::uint32_t code, LayoutHandle layout) override {
        return MapVirtualKeyExW(code, MAPVK_VSC_TO_VK_EX, reinterpret_cast<HKL>(layout));
    }
    int to_unicode(std::uint32_t key, std::uint32_t code, const KeyboardState& state, std::span<char16_t, 4> out,
                   LayoutHandle layout) override {
        // Flag 4: the layout's dead-key state is left as the user's typing has it.
        return ToUnicodeEx(key, code, state.data(), reinterpret_cast<LPWSTR>(out.data()), 4, 4,
                           reinterpret_cast<HKL>(layout));
    }
};

// Stateless: one for the process.
SystemKeys g_system_keys;

}  // namespace

Result<const RAWINPUT*> checked_raw_input(const RAWINPUT& buffer, UINT read) {
    constexpr UINT header = sizeof(RAWINPUTHEADER);
    if (read < header) return plain_failure("Truncated input event");
    UINT body = 0;
    if (buffer.header.dwType == RIM_TYPEMOUSE) body = sizeof(RAWMOUSE);
    if (buffer.header.dwType == RIM_TYPEKEYBOARD) body = sizeof(RAWKEYBOARD);
    if (read < header + body) return plain_failure("Truncated input event");
    return &buffer;
}

Status handle_raw_input(PresentationState& state, const RAWINPUT& input) {
    if (input.header.dwType == RIM_TYPEMOUSE) return handle_raw_mouse(state, input.data.mouse.usButtonFlags);
    if (input.header.dwType != RIM_TYPEKEYBOARD || !state.features.keyboard) return ok_status();
    const RAWKEYBOARD& key = input.data.keyboard;
    // The hook reports presses itself; releases come from here either way.
    if (state.listener.running() && !(key.Flags & RI_KEY_BREAK)) return ok_status();
    return record_raw_keystroke(state, RawKeyEvent{key.MakeCode, key.Flags, key.VKey});
}

Status record_key_report(PresentationState& state, WPARAM key, LPARAM flags) {
    if (!state.features.keyboard) return ok_status();
    return record_raw_keystroke(state, key_report_event(key, static_cast<std::uint64_t>(flags)));
}

KeystrokeHost& system_keystroke_host() {
    return g_system_keys;
}

Status record_raw_keystroke(PresentationState& state, const RawKeyEvent& event) {
    const KeystrokeOutcome outcome = record_keystroke(state.keys, state.us_layout, event, presentation_now(state),
                                                      state.move_armed, system_keystroke_host());
    if (outcome.ends_move) {
        GLIM_TRY(end_device_layer_drag(state));
        state.move_armed = false;
        if (device_feature(state.features)) GLIM_TRY(show_device_layer(state));
    } else if (state.device_layer) {
        GLIM_TRY(render_device_layer(state, presentation_now(state)));
    }
    return schedule_presentation_timer(state);
}

Status handle_raw_mouse(PresentationState& state, std::uint32_t button_flags) {
    const std::uint64_t now = presentation_now(state);
    const bool cursor = cursor_feature(state.features);
    if (cursor) GLIM_TRY(follow_pointer(state, button_flags, now));
    if (button_flags == 0) return ok_status();
    if (state.features.mouse) {
        record_mouse_flags(state.shown_input, button_flags, now);
        GLIM_TRY(render_device_layer(state, now));
    }
    if (cursor) apply_raw_mouse_buttons(state.buttons, button_flags, now);
    // A press shows on the small layer at once, not at the next frame.
    if (state.pointer_layer && !pointer_effects_visible(effective_settings(state)))
        GLIM_TRY(render_presentation_layer(state, state.pointer_layer->window.get()));
    return schedule_presentation_timer(state);
}

}  // namespace glimmerly
