#pragma once
// Presentation mode's hotkeys (90 to 96), raw input and keyboard-hook thread
// on the application window, and what each hotkey does.

#include <windows.h>

#include <array>
#include <optional>
#include <vector>

#include "app/presentation/presentation.h"

namespace glimmerly {

// Strict: fails with "error.shortcut_in_use" and undoes its own registrations.
Status set_presentation_input(PresentationState& state, PresentationFeatures features);
// Best effort: the texts of the shortcuts that could not be registered.
Result<std::vector<TextId>> apply_presentation_shortcuts(PresentationState& state, PresentationFeatures features);
// Hotkeys 94 to 96 while a cursor feature is on; the outcome is only told.
Status register_pointer_shortcuts(PresentationState& state);
void unregister_pointer_shortcuts(PresentationState& state);

// The combinations the settings give hotkeys 91 to 96.
struct ShortcutsInForce {
    std::array<Shortcut, 3> drawing{};
    std::array<std::optional<Shortcut>, 3> pointer{};
    friend bool operator==(const ShortcutsInForce&, const ShortcutsInForce&) = default;
};
ShortcutsInForce shortcuts_in_force(const PresentationState& state);
// After new settings were copied in: a changed combination is registered at
// once and the old one let go, for the drawing shortcuts only while they
// are held (while a shortcut is being chosen they wait for the end of it).
// A combination that cannot be had is flagged for its row, not failed; a
// failure of the input itself turns presentation off before it is returned.
Status register_changed_shortcuts(PresentationState& state, const ShortcutsInForce& before);

// 0 show a click at the pointer, 1 the spotlight while held, 2 the
// magnifier toggled (or shown while held).
Status handle_pointer_shortcut(PresentationState& state, int which);
// The pointer layer, its frame and the timer after a held magnifier key.
Status refresh_pointer_overlays(PresentationState& state);

}  // namespace glimmerly
