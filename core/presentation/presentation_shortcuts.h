#pragma once
// Presentation mode's global shortcuts and its input, changed together: the
// stop shortcut (Ctrl+Alt+Esc) while any feature is on, the three drawing
// shortcuts while temporary shapes are on, the three pointer shortcuts while
// a cursor feature is on, raw input and the keyboard-hook thread. A drawing
// shortcut that another program holds goes to the hook instead. The order,
// the rollback and the fall-backs are decided here; registering is the
// host's.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/base/result.h"
#include "core/base/shortcut.h"
#include "core/pointer/presentation_features.h"
#include "core/shortcuts/shortcut_hook.h"
#include "text/text_table.h"

namespace glimmerly {

inline constexpr std::int32_t kHotkeyPresentationStop = 90;
inline constexpr std::int32_t kHotkeyDrawArrow = 91;
inline constexpr std::int32_t kHotkeyShowClick = 94;
inline constexpr Shortcut kPresentationStopShortcut{kShortcutCtrl | kShortcutAlt, 0x1B};

struct PresentationShortcuts {
    std::array<Shortcut, 3> drawing{};  // arrow, rectangle, ellipse: hotkeys 91, 92, 93
    Shortcut stop = kPresentationStopShortcut;
    // Refused for another reason than the combination being held elsewhere:
    // stop, arrow, rectangle, ellipse.
    std::array<bool, 4> failed{};
    // What hotkeys, raw input and the listener were last brought in line with.
    PresentationFeatures applied;
};

// Hotkeys 94 (show a click), 95 (spotlight) and 96 (magnifier).
struct PointerShortcuts {
    std::array<std::optional<Shortcut>, 3> shortcuts{};
    std::array<bool, 3> registered{};
    std::array<bool, 3> failed{};
};

// The platform's side. A refused hotkey answers its Win32 code (0x80070581
// when another program holds the combination).
class PresentationInputHost {
public:
    virtual Status register_hotkey(std::int32_t id, Shortcut shortcut) = 0;
    virtual void unregister_hotkey(std::int32_t id) = 0;
    // Raw mouse and keyboard input on or off, in one registration.
    virtual Status register_raw_input(bool mouse, bool keyboard) = 0;
    virtual bool listener_running() = 0;
    virtual void stop_listener() = 0;
    // A new hook thread; once it runs, it replaces any earlier one.
    virtual Status start_listener(const HookSlots& slots, bool report_keys) = 0;

protected:
    ~PresentationInputHost() = default;
};

// Raw mouse while a cursor feature or the mouse display is on; raw keyboard
// while the keyboard display is on.
constexpr bool wants_raw_mouse(const PresentationFeatures& f) { return cursor_feature(f) || f.mouse; }

// Strict: a hotkey that cannot be registered undoes what this call
// registered and fails with "error.shortcut_in_use" naming the shortcut;
// raw input that cannot be registered puts the earlier registration back.
// With no feature on, it turns everything off.
Status set_presentation_input(PresentationShortcuts& shortcuts, PresentationFeatures wanted,
                              PresentationInputHost& host, Language language = current_language());

// Best effort: everything afresh, a refused hotkey listed by its text (157,
// 35, 32, 33 in that order) instead of failing, a drawing shortcut held
// elsewhere handed to the hook. Fails, with all input off, only when raw
// input or the hook thread cannot be set up.
Result<std::vector<TextId>> apply_presentation_shortcuts(PresentationShortcuts& shortcuts, PresentationFeatures wanted,
                                                         PresentationInputHost& host);

// Hotkeys 94 to 96 afresh while a cursor feature is on; a slot without a
// shortcut is skipped and the ones after it still register. Answers the
// last registration's outcome.
Status register_pointer_shortcuts(PointerShortcuts& pointer, bool cursor_on, PresentationInputHost& host);
void unregister_pointer_shortcuts(PointerShortcuts& pointer, PresentationInputHost& host);

}  // namespace glimmerly
