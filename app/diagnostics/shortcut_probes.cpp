#include "app/diagnostics/shortcut_probes.h"

#include <algorithm>

#include "app/app/hotkeys.h"
#include "app/presentation/presentation_shortcuts.h"
#include "app/win/failure.h"
#include "core/diagnostics/diagnostic_report.h"

namespace glimmerly {
namespace {

constexpr USHORT kMouseUsage = 2;

std::size_t mouse_registrations(const std::vector<RAWINPUTDEVICE>& devices) {
    return static_cast<std::size_t>(
        std::count_if(devices.begin(), devices.end(), [](const RAWINPUTDEVICE& d) { return d.usUsage == kMouseUsage; }));
}

}  // namespace

Result<std::vector<RAWINPUTDEVICE>> list_raw_input_devices() {
    UINT count = 0;
    if (GetRegisteredRawInputDevices(nullptr, &count, sizeof(RAWINPUTDEVICE)) == static_cast<UINT>(-1))
        return win::self_check_failure("GetRegisteredRawInputDevices");
    std::vector<RAWINPUTDEVICE> devices(count);
    if (count == 0) return devices;
    UINT room = count;
    const UINT got = GetRegisteredRawInputDevices(devices.data(), &room, sizeof(RAWINPUTDEVICE));
    if (got == static_cast<UINT>(-1)) return win::self_check_failure("GetRegisteredRawInputDevices");
    devices.resize(std::min<std::size_t>(got, count));
    return devices;
}

void run_shortcut_probe(ShortcutProbeInput input) {
    const bool held = RegisterHotKey(nullptr, HOTKEY_ID_SHORTCUT_PROBE, input.modifiers, input.key) != 0;
    Status outcome = held ? ok_status() : Status(win::self_check_failure("RegisterHotKey"));
    (void)input.outcome.send(outcome);
    // A release, a closed channel and the end of the wait all end it alike:
    // the combination is given back in every case.
    (void)receive_within(input.release, input.wait);
    if (held) UnregisterHotKey(nullptr, HOTKEY_ID_SHORTCUT_PROBE);
}

Status run_collision_probe(ChannelReceiver<Status>& outcome, PresentationFeatures features, PresentationState& record) {
    auto held = receive_within(outcome);
    if (!held) return std::move(held).failure();
    GLIM_TRY(*held);

    features.temporary_shapes = true;
    if (set_presentation_input(record, features)) return plain_failure("Occupied shortcut was not rejected");
    auto devices = list_raw_input_devices();
    if (!devices) return std::move(devices).failure();
    GLIM_TRY(ensure_condition(devices->size() == 1 && mouse_registrations(*devices) == 1,
                              "Failed activation changed the existing halo registration"));

    auto unavailable = apply_presentation_shortcuts(record, features);
    if (!unavailable) return std::move(unavailable).failure();
    GLIM_TRY(ensure_condition(unavailable->empty() && record.listener.running(),
                              "A conflicting drawing shortcut must receive a priority hook"));
    const auto& marked = record.shortcuts.failed;
    return ensure_condition(std::none_of(marked.begin(), marked.end(), [](bool m) { return m; }),
                            "A working priority shortcut must not be marked unavailable");
}

Status run_release_probe(std::vector<UINT> keys, UINT modifiers) {
    GLIM_TRY(ensure_condition(keys.size() >= 4, "Four free diagnostic combinations are required"));
    for (const UINT key : {keys[3], keys[0], keys[1], keys[2]}) {
        if (!RegisterHotKey(nullptr, HOTKEY_ID_RELEASE_PROBE, modifiers, key))
            return win::self_check_failure("RegisterHotKey");
        if (!UnregisterHotKey(nullptr, HOTKEY_ID_RELEASE_PROBE)) return win::self_check_failure("UnregisterHotKey");
    }
    return ok_status();
}

Failure shortcut_probe_panicked() { return plain_failure("Shortcut probe thread panicked"); }
Failure release_probe_panicked() { return plain_failure("Shortcut release probe panicked"); }

}  // namespace glimmerly
