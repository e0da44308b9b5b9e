#include "app/presentation/events.h"

#include <utility>

#include "app/presentation/devices.h"
#include "app/presentation/pointer_effects.h"
#include "app/presentation/sound.h"
#include "app/win/failure.h"

namespace glimmerly {
namespace {

constexpr USHORT kGenericDesktop = 1;
constexpr USHORT kMouseUsage = 2;
constexpr std::uint32_t kPressFlags = RI_MOUSE_LEFT_BUTTON_DOWN | RI_MOUSE_RIGHT_BUTTON_DOWN | RI_MOUSE_MIDDLE_BUTTON_DOWN;

bool wants_mouse(const PresentationFeatures& features) { return cursor_feature(features) || features.mouse; }

// The pointer's part of an event: the trail, the click marks, and a frame
// or the small layer moved.
Status follow_pointer(PresentationState& state, std::uint32_t flags, std::uint64_t now) {
    POINT at{};
    if (!GetCursorPos(&at)) return win::win32_failure("GetCursorPos");
    const PointerSettings settings = effective_settings(state);
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
    state.spotlight_refresh = true;
    if (input_frame_due(state, now)) GLIM_TRY(update_pointer_effects(state));
    return schedule_presentation_timer(state);
}

}  // namespace

Status set_presentation_input(PresentationState& state, PresentationFeatures features) {
    const bool mouse = wants_mouse(features);
    if (mouse == state.mouse_input) return ok_status();
    RAWINPUTDEVICE device{kGenericDesktop, kMouseUsage, mouse ? DWORD{RIDEV_INPUTSINK} : DWORD{RIDEV_REMOVE},
                          mouse ? state.window : nullptr};
    if (!RegisterRawInputDevices(&device, 1, sizeof device)) return win::win32_failure("RegisterRawInputDevices");
    state.mouse_input = mouse;
    return ok_status();
}

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
    // Keyboard records belong to the keys display, which is not built.
    if (input.header.dwType != RIM_TYPEMOUSE) return ok_status();
    return handle_raw_mouse(state, input.data.mouse.usButtonFlags);
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
