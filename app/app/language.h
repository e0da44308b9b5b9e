#pragma once
// Switching the interface language while the resident runs.

#include <windows.h>

#include "core/base/result.h"
#include "text/text_table.h"

namespace glimmerly {

struct App;

// Stores the choice (LANGUAGE_AUTO for the system's), applies it, renames
// the icon's tip and has the next capture open in it. Only the store can
// fail: then nothing changes. A run without a settings file changes the
// language for itself alone and leaves the installer's file alone too.
Status change_language(App& app, HWND window, Language language);

}  // namespace glimmerly
