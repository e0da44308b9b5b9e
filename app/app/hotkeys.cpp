#include "app/app/hotkeys.h"

#include "app/app/app.h"
#include "app/app/keyboard_hook.h"
#include "app/app/print_screen.h"
#include "app/lib/settings_store.h"
#include "app/win/failure.h"
#include "text/app_error.h"
#include "text/shortcut_text.h"

namespace glimmerly {
namespace {

// The system lets the key go some time after the registry change.
constexpr int kTakeoverAttempts = 11;
constexpr DWORD kTakeoverRetryMs = 100;

Status try_register(HWND window, int id, UINT modifiers, UINT key) {
    SetLastError(0);
    if (!RegisterHotKey(window, id, modifiers, key)) return win::win32_failure("RegisterHotKey");
    return ok_status();
}

Failure in_use(std::string_view what) { return Failure{HOTKEY_IN_USE_CODE, std::string(what)}; }

bool not_yet_released(const Failure& failure) {
    return failure.code == HOTKEY_IN_USE_CODE || !has_win32_code(failure.code);
}

bool holds(const HotkeyRegistration& registration, UINT modifiers, UINT key) {
    return registration.registered && registration.modifiers == modifiers && registration.key == key;
}

// The id under which the registration holds (modifiers, key): its current
// one when it holds them already, else the next one, newly registered. With
// `retry`, a takeover just changed the registry and the system may not have
// let the key go yet: the attempt is repeated, and the first failure is the
// answer.
Result<int> acquire_id(const HotkeyRegistration& registration, UINT modifiers, UINT key, bool retry) {
    if (holds(registration, modifiers, key)) return registration.id;
    const int id = next_hotkey_id(registration);
    const bool probe = is_bare_print_screen(modifiers, key);
    Status first = register_shortcut_hotkey(registration.window, id, modifiers | MOD_NOREPEAT, key, probe);
    if (first) return id;
    if (!retry || !not_yet_released(first.failure())) return std::move(first).failure();
    for (int attempt = 1; attempt < kTakeoverAttempts; ++attempt) {
        Sleep(kTakeoverRetryMs);
        Status again = register_shortcut_hotkey(registration.window, id, modifiers | MOD_NOREPEAT, key, probe);
        if (again) return id;
        if (!not_yet_released(again.failure())) return std::move(again).failure();
    }
    return std::move(first).failure();
}

// Makes `id` the registration's current one and withdraws the old one.
void take_id(HotkeyRegistration& registration, int id, UINT modifiers, UINT key) {
    if (registration.registered && registration.id != id) UnregisterHotKey(registration.window, registration.id);
    registration.registered = true;
    registration.id = id;
    registration.modifiers = modifiers;
    registration.key = key;
}

// Bare Print Screen, when the process may take it: taken from the system
// first. Answers whether the registry changed.
Result<bool> take_over_if_print_screen(bool takeover, UINT modifiers, UINT key) {
    if (!takeover || !is_bare_print_screen(modifiers, key)) return false;
    return take_over_print_screen_key();
}

HookSlot slot_of(const HotkeyRegistration& registration) {
    return HookSlot{registration.registered, registration.modifiers, registration.key, registration.id};
}

constexpr Shortcut kReservedShortcut{MOD_CONTROL | MOD_ALT, VK_ESCAPE};

// Registers one start-up shortcut unless it is cleared; false when it is
// set and could not be taken.
bool register_unless_clashing(App& app, HotkeyRegistration& registration, const Shortcut& shortcut,
                              std::initializer_list<const Shortcut*> others) {
    if (shortcut.key == 0) return true;
    if (shortcut == kReservedShortcut) return false;
    for (const Shortcut* other : others)
        if (*other == shortcut) return false;
    return register_shortcut_with_takeover(registration, app.keeps_settings, shortcut.modifiers, shortcut.key).ok();
}

}  // namespace

int next_hotkey_id(const HotkeyRegistration& registration) {
    return registration.registered && registration.id == registration.base_id ? registration.base_id + 1
                                                                              : registration.base_id;
}

Status register_shortcut_hotkey(HWND window, int id, UINT modifiers, UINT key, bool probe) {
    GLIM_TRY(try_register(window, id, modifiers, key));
    if (!probe) return ok_status();
    Status second = try_register(window, HOTKEY_PRINT_SCREEN_PROBE, modifiers, key);
    if (!second) {
        if (second.failure().code == HOTKEY_IN_USE_CODE) return ok_status();
        UnregisterHotKey(window, id);
        return in_use("RegisterHotKey: Print Screen could not be proved held");
    }
    UnregisterHotKey(window, HOTKEY_PRINT_SCREEN_PROBE);
    UnregisterHotKey(window, id);
    return in_use("RegisterHotKey: Print Screen is still held by the system");
}

Status register_hotkey(HotkeyRegistration& registration, UINT modifiers, UINT key) {
    auto id = acquire_id(registration, modifiers, key, false);
    if (!id) return std::move(id).failure();
    take_id(registration, *id, modifiers, key);
    return ok_status();
}

void unregister_hotkey(const HotkeyRegistration& registration) {
    if (registration.registered) UnregisterHotKey(registration.window, registration.id);
}

Status register_shortcut_with_takeover(HotkeyRegistration& registration, bool takeover, UINT modifiers, UINT key) {
    auto changed = take_over_if_print_screen(takeover, modifiers, key);
    if (!changed) return std::move(changed).failure();
    auto id = acquire_id(registration, modifiers, key, *changed);
    if (!id) return std::move(id).failure();
    take_id(registration, *id, modifiers, key);
    return ok_status();
}

std::vector<TextId> register_resident_shortcuts(App& app) {
    const Settings& settings = app.settings;
    const auto& shapes = settings.shape_shortcuts;
    std::vector<TextId> notices;
    if (!register_unless_clashing(app, app.instant_registration, settings.instant_capture_shortcut,
                                  {&shapes[0], &shapes[1], &shapes[2], &settings.capture_shortcut}))
        notices.push_back(TextId::notice_instant_unavailable);
    if (!register_unless_clashing(app, app.board_registration, settings.board_shortcut,
                                  {&shapes[0], &shapes[1], &shapes[2], &settings.instant_capture_shortcut,
                                   &settings.capture_shortcut}))
        notices.push_back(TextId::notice_board_unavailable);
    return notices;
}

Status change_global_shortcut(App& app, HotkeyRegistration& registration, Settings changed, UINT modifiers, UINT key) {
    auto taken = take_over_if_print_screen(app.keeps_settings, modifiers, key);
    if (!taken) return std::move(taken).failure();
    auto id = acquire_id(registration, modifiers, key, *taken);
    if (!id) return std::move(id).failure();
    if (app.keeps_settings) {
        if (Status saved = commit_settings_change(changed); !saved) {
            if (!holds(registration, modifiers, key)) UnregisterHotKey(registration.window, *id);
            return settings_unsaved_error(saved.failure());
        }
    }
    take_id(registration, *id, modifiers, key);
    app.settings = std::move(changed);
    restore_print_screen_if_unused(app);
    // The registration alone still answers when the hook is refused.
    (void)hold_lock_key_shortcuts(app);
    return ok_status();
}

Status change_capture_shortcut(App& app, UINT modifiers, UINT key) {
    Settings changed = app.settings;
    changed.capture_shortcut = Shortcut{modifiers, key};
    return change_global_shortcut(app, app.capture_registration, std::move(changed), modifiers, key);
}

Status hold_lock_key_shortcuts(App& app) {
    const HookSlots slots = lock_key_slots(
        {slot_of(app.capture_registration), slot_of(app.instant_registration), slot_of(app.board_registration)});
    if (!any_slot_enabled(slots)) {
        app.lock_key_listener.stop();
        return ok_status();
    }
    auto started = start_shortcut_listener(app.capture_registration.window, slots, false);
    if (!started) return std::move(started).failure();
    app.lock_key_listener = std::move(*started);  // the earlier thread, if any, stops here
    return ok_status();
}

void restore_print_screen_if_unused(const App& app) {
    if (!app.keeps_settings) return;
    const Shortcut& capture = app.settings.capture_shortcut;
    const Shortcut& instant = app.settings.instant_capture_shortcut;
    if (is_bare_print_screen(capture.modifiers, capture.key) || is_bare_print_screen(instant.modifiers, instant.key))
        return;
    (void)restore_print_screen_key();
}

}  // namespace glimmerly
