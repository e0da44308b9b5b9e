#pragma once
// The resident's global shortcuts, registered as hotkeys on the application
// window so that a press arrives there as WM_HOTKEY. Each shortcut owns two
// ids and alternates between them: a new combination is registered before
// the old one is withdrawn, so a refused change leaves the old one working.

#include <windows.h>

#include <cstdint>
#include <vector>

#include "core/base/result.h"
#include "core/settings/settings.h"
#include "text/text_table.h"

namespace glimmerly {

struct App;

inline constexpr int HOTKEY_ID_CAPTURE_BASE = 1;
inline constexpr int HOTKEY_ID_INSTANT_BASE = 3;
inline constexpr int HOTKEY_ID_BOARD_BASE = 5;
inline constexpr int HOTKEY_PRINT_SCREEN_PROBE = 80;
inline constexpr int HOTKEY_ID_PRESENTATION_STOP = 90;
inline constexpr int HOTKEY_ID_DRAW_ARROW = 91;
inline constexpr int HOTKEY_ID_DRAW_RECTANGLE = 92;
inline constexpr int HOTKEY_ID_DRAW_ELLIPSE = 93;
inline constexpr int HOTKEY_ID_SHOW_CLICK = 94;
inline constexpr int HOTKEY_ID_SPOTLIGHT = 95;
inline constexpr int HOTKEY_ID_MAGNIFIER = 96;
inline constexpr int HOTKEY_ID_PROBE = 99;
inline constexpr int HOTKEY_ID_COMBINATION_SEARCH = 198;
inline constexpr int HOTKEY_ID_SHORTCUT_PROBE = 199;
inline constexpr int HOTKEY_ID_RELEASE_PROBE = 200;

struct HotkeyRegistration {
    bool registered = false;
    int id = 0;  // meaningful only while registered
    HWND window = nullptr;
    int base_id = 0;
    // The combination held while registered. The system refuses a second
    // registration of a held combination, even to its holder, so asking for
    // it again keeps the registration as it is.
    UINT modifiers = 0;
    UINT key = 0;
};

// base_id + 1 while the registration is live under base_id, else base_id.
int next_hotkey_id(const HotkeyRegistration& registration);

// One attempt under one id; the caller adds MOD_NOREPEAT. With the probe, a
// bare Print Screen must also be refused to a second registration, which
// proves that this one really holds the key (the system may accept the
// registration and still keep the key for itself); a key it cannot prove
// held is reported in use, and nothing stays registered.
Status register_shortcut_hotkey(HWND window, int id, UINT modifiers, UINT key, bool probe);

// Registers (modifiers, key) under the registration's next id and withdraws
// the old id; on failure the registration is unchanged. The combination it
// already holds is kept as it is.
Status register_hotkey(HotkeyRegistration& registration, UINT modifiers, UINT key);

// Withdraws the current id when registered; the record is not changed.
void unregister_hotkey(const HotkeyRegistration& registration);

// Start-up's registration: with `takeover`, bare Print Screen is first taken
// from the system, and the registration is retried while the system has
// not let the key go yet.
Status register_shortcut_with_takeover(HotkeyRegistration& registration, bool takeover, UINT modifiers, UINT key);

// Start-up's instant-screenshot and board shortcuts. A cleared shortcut
// (key 0) registers nothing and reports nothing; one that equals another of
// the program's shortcuts, or Ctrl+Alt+Esc, is not registered, and neither
// is one the system refuses. Answers the notices to show, in order.
std::vector<TextId> register_resident_shortcuts(App& app);

// Makes (modifiers, key) the registration's combination with `changed` as
// the new settings: registered under the next id (bare Print Screen first
// taken from the system when the process keeps settings), written to the
// settings file when it keeps one, and only then made current, the old id
// withdrawn and `changed` the App's. A failed write withdraws the new id:
// the old combination stays in force and nothing is changed.
Status change_global_shortcut(App& app, HotkeyRegistration& registration, Settings changed, UINT modifiers, UINT key);

// The capture shortcut changed so.
Status change_capture_shortcut(App& app, UINT modifiers, UINT key);

// Keeps the resident's lock-key shortcuts (capture, instant screenshot,
// board) in a keyboard hook of their own, which takes their presses before
// the system does and sends the window the same WM_HOTKEY; the registration
// still holds the combination, and answers alone should the hook be
// refused. With no lock-key shortcut no hook runs. Called whenever one of
// the three registrations changes.
Status hold_lock_key_shortcuts(App& app);

// Gives Print Screen back to the system once neither the capture nor the
// instant-screenshot shortcut is bare Print Screen; failures are dropped.
void restore_print_screen_if_unused(const App& app);

}  // namespace glimmerly
