#pragma once
// The operations of parts of the program that are not built yet, behind the
// names their callers use. Each one that the user can reach says plainly
// that the feature is not available; the others do nothing, and say why.

#include <windows.h>

#include <string>
#include <string_view>

#include "core/base/result.h"

namespace glimmerly {

struct App;

// E_NOTIMPL with "<what> is not available in this version of Glimmerly."
Failure not_available(std::string_view what);

Status start_board_editor_process();
Status start_board_bake_process();
// Whether the baked board has left the desktop: nothing is ever baked yet.
Result<bool> board_still_on_desktop(bool board_visible, bool display_changed);

// The first-run setup shown in the application window: not built, so
// nothing is shown; the resident runs without a capture shortcut.
Status activate_resident(App& app, HWND window);
void record_setup_key(App& app, UINT modifiers, UINT key);
Status close_app_window(App& app, HWND window);

// The board folder's own wallpaper given back: the board is not built.
Status restore_wallpaper(const std::wstring& board_folder);

// The first-run setup's shortcut recorder, which it does not have yet.
bool setup_is_recording(const App& app);

}  // namespace glimmerly
