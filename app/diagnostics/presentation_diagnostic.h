#pragma once
// "--presentation-diagnostic": how the presentation mode claims input, run
// in a fresh process on a hidden probe window with four free Ctrl+Alt+Shift
// combinations. Which raw input each set of features registers; that a
// drawing shortcut held by another thread makes the strict activation fail
// and roll back and then goes to the priority hook; and that everything off
// releases the hook, the raw input and every shortcut. Writes
// "target/presentation-diagnostics.txt" only when every check passed.

#include "core/base/result.h"

namespace glimmerly {

inline constexpr char kPresentationDiagnosticPass[] =
    "PASS: independent raw input, native shortcut rollback, priority hook fallback on collision, hook and "
    "registrations released\n";

Status run_presentation_diagnostic();

}  // namespace glimmerly
