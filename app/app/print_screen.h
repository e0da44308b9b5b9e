#pragma once
// Taking bare Print Screen over from the system's screen snipping, and
// giving it back. Windows keeps the key for itself while
// "PrintScreenKeyForSnippingEnabled" is on; the program turns it off once,
// remembering what it found, and the restore puts that back unless the user
// or the system changed it since.

#include "core/base/result.h"

namespace glimmerly {

// Turns the system's use off. Answers whether the registry changed (false
// when it was already off: nothing is written then).
Result<bool> take_over_print_screen_key();

// Puts the remembered value back (or deletes the value when there was none)
// while the system value is still the 0 the takeover wrote, then forgets it.
// Nothing remembered: nothing to do.
Status restore_print_screen_key();

}  // namespace glimmerly
