#pragma once
// "--diagnostic": after the resident has been idle for two seconds, what it
// cost meanwhile, five editor diagnostics and five first-frame editor
// processes run one after the other, the GDI objects and memory the
// resident keeps afterwards and once its menu has been painted, all in
// "target/diagnostics.json"; then the limits on them.

#include "app/lib/delayed_wake.h"
#include "core/base/result.h"

namespace glimmerly {

Status run_diagnostics(const DiagnosticBaseline& baseline);

// The tray popup with its language list, painted once off screen and dropped.
Status exercise_tray_menu();

}  // namespace glimmerly
