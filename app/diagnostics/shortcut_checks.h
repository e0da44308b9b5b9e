#pragma once
// Two checks of what the program hands to the system: the image search's
// page opened by the browser ("--google-diagnostic") and the registration of
// global shortcuts ("--hotkey-diagnostic").

#include <string>

#include "app/session/lens.h"
#include "core/base/result.h"

namespace glimmerly {

// A 64 x 64 picture of one colour goes the image search's way: its page is
// written and opened with `openers`; then "target/google-diagnostic.txt"
// tells someone to look at the browser. A page nothing opened fails with
// "The default browser did not open the page." and no report. The real
// openers start a browser: tests pass their own.
Status run_google_diagnostic(const LensOpeners& openers);
// The same report, written into `report_folder`.
Status run_google_diagnostic_into(const std::wstring& report_folder, const LensOpeners& openers);

// Six combinations, bare keys and modified ones, each registered and
// withdrawn at once without a window; the first refused one ends the check
// with its code. Nothing is written.
Status run_hotkey_diagnostic();

}  // namespace glimmerly
