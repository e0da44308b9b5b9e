#include "app/diagnostics/presentation_diagnostic.h"

#include <windows.h>

#include <algorithm>
#include <string_view>
#include <vector>

#include "app/app/hotkeys.h"
#include "app/app/keyboard_hook.h"
#include "app/app/tray_icon.h"
#include "app/diagnostics/diagnostic_files.h"
#include "app/diagnostics/shortcut_probes.h"
#include "app/presentation/presentation_shortcuts.h"
#include "app/win/failure.h"
#include "core/diagnostics/diagnostic_report.h"

namespace glimmerly {
namespace {

constexpr wchar_t kReportPath[] = L"target\\presentation-diagnostics.txt";
constexpr UINT kFirstKey = VK_F1;
constexpr UINT kLastKey = VK_F11;

Result<OwnedWindow> create_input_probe_window() {
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"Glimmerly input probe", WS_POPUP, -32000, -32000, 1,
                                  1, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window) return win::self_check_failure("CreateWindowExW", L"Glimmerly input probe");
    return OwnedWindow(window);
}

// The first four of F1 to F11 that Ctrl+Alt+Shift can take, each given
// back at once.
Result<std::vector<UINT>> find_free_combinations() {
    std::vector<UINT> keys;
    for (UINT key = kFirstKey; key <= kLastKey && keys.size() < 4; ++key) {
        if (!RegisterHotKey(nullptr, HOTKEY_ID_COMBINATION_SEARCH, kDiagnosticModifiers, key)) continue;
        if (!UnregisterHotKey(nullptr, HOTKEY_ID_COMBINATION_SEARCH)) return win::self_check_failure("UnregisterHotKey");
        keys.push_back(key);
    }
    if (keys.size() < 4) return plain_failure("Four free diagnostic combinations are required");
    return keys;
}

Status check_registrations(const PresentationFeatures& features, PresentationState& record,
                           bool (*expected)(const std::vector<RAWINPUTDEVICE>&, HWND), std::string_view text) {
    GLIM_TRY(set_presentation_input(record, features));
    auto devices = list_raw_input_devices();
    if (!devices) return std::move(devices).failure();
    return ensure_condition(expected(*devices, record.window), text);
}

bool none(const std::vector<RAWINPUTDEVICE>& d, HWND) { return d.empty(); }
bool mouse_sink_only(const std::vector<RAWINPUTDEVICE>& d, HWND) {
    return d.size() == 1 && d[0].usUsage == 2 && d[0].dwFlags == RIDEV_INPUTSINK;
}
bool both_on_window(const std::vector<RAWINPUTDEVICE>& d, HWND window) {
    return d.size() == 2 && std::all_of(d.begin(), d.end(), [&](const RAWINPUTDEVICE& r) {
               return r.hwndTarget == window && r.dwFlags == RIDEV_INPUTSINK;
           });
}
bool mouse_only(const std::vector<RAWINPUTDEVICE>& d, HWND) { return d.size() == 1 && d[0].usUsage == 2; }

Status switch_features(PresentationState& record) {
    PresentationFeatures f;
    f.temporary_shapes = true;
    GLIM_TRY(check_registrations(f, record, none, "Drawing shortcuts must not monitor any device"));
    f.pointer_effects = true;
    GLIM_TRY(check_registrations(f, record, mouse_sink_only,
                                 "Halo must observe only the mouse, without suppressing legacy input"));
    f.keyboard = true;
    GLIM_TRY(check_registrations(f, record, both_on_window, "Keys must observe mouse and keyboard on the resident"));
    GLIM_TRY(check_registrations({.pointer_effects = true}, record, mouse_only,
                                 "Disabling keys must unregister the keyboard"));
    GLIM_TRY(check_registrations({.mouse = true}, record, mouse_only,
                                 "The mouse diagram alone must not observe the keyboard"));
    return set_presentation_input(record, {.pointer_effects = true});
}

// The probe thread holds K2 while the collision probe runs; it is released
// and joined before the collision's own outcome counts, so the combination
// is always given back first.
Status check_collision(PresentationState& record, UINT k2) {
    auto [outcome_sender, outcome_receiver] = make_channel<Status>();
    auto [release_sender, release_receiver] = make_channel<ProbeRelease>();
    ProbeThread<bool> probe([input = ShortcutProbeInput{kDiagnosticModifiers, k2, std::move(outcome_sender),
                                                        std::move(release_receiver)}]() mutable {
        run_shortcut_probe(std::move(input));
        return true;
    });
    Status collision = run_collision_probe(outcome_receiver, {.pointer_effects = true}, record);
    ProbeRelease release;
    (void)release_sender.send(release);
    if (!probe.join()) return shortcut_probe_panicked();
    return collision;
}

Status check_stop(PresentationState& record) {
    GLIM_TRY(set_presentation_input(record, {}));
    GLIM_TRY(ensure_condition(hook_threads_ended(record.listener), "Stop must release the priority hook thread"));
    auto devices = list_raw_input_devices();
    if (!devices) return std::move(devices).failure();
    return ensure_condition(devices->empty(), "Stop left raw input registered");
}

Status check_release(const std::vector<UINT>& keys) {
    ProbeThread<Status> probe([keys] { return run_release_probe(keys, kDiagnosticModifiers); });
    auto released = probe.join();
    if (!released) return release_probe_panicked();
    return std::move(*released);
}

Status run_checks(PresentationState& record) {
    auto keys = find_free_combinations();
    if (!keys) return std::move(keys).failure();
    const auto& k = *keys;
    record.shortcuts.drawing = {Shortcut{kDiagnosticModifiers, k[0]}, Shortcut{kDiagnosticModifiers, k[1]},
                                Shortcut{kDiagnosticModifiers, k[2]}};
    record.shortcuts.stop = Shortcut{kDiagnosticModifiers, k[3]};
    GLIM_TRY(switch_features(record));
    GLIM_TRY(check_collision(record, k[1]));
    GLIM_TRY(check_stop(record));
    return check_release(k);
}

}  // namespace

Status run_presentation_diagnostic() {
    auto window = create_input_probe_window();
    if (!window) return std::move(window).failure();
    auto devices = list_raw_input_devices();
    if (!devices) return std::move(devices).failure();
    GLIM_TRY(ensure_condition(devices->empty(), "Fresh process already has raw input"));

    PresentationState record;
    record.window = window->get();
    Status checked = run_checks(record);
    if (!checked) {
        (void)set_presentation_input(record, {});
        stop_shortcut_listener(record.listener);
        return checked;
    }
    window->reset();
    return write_report(kReportPath, kPresentationDiagnosticPass);
}

}  // namespace glimmerly
