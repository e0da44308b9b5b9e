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

// A capture: the capture shortcut, the tray's "Take a screenshot", "--capture".
Status start_capture_session(App& app, HWND window);
Status start_instant_screenshot(App& app, HWND window);
// The worker's result, when an instant screenshot ran: none ever does yet.
Status finish_instant_screenshot(App& app, HWND window);
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

// Whether the linked editor child is capturing or has a capture requested:
// no child is linked yet, so never.
bool editor_capture_busy(const App& app);
// A fresh prepared editor child for a new interface language: the child
// that is waiting is ended and another started, or one is started when
// none waits. No child is prepared in advance yet, so there is none to
// replace; the next capture starts its own, in the language of that moment.
void restart_prepared_editor(App& app, HWND window);

// The editor child's link: no child is ever started yet, so a message from
// one is never for this resident.
Status handle_editor_ready(App& app, HWND window, WPARAM process_id, LPARAM editor_window);
Status handle_editor_exited(App& app, HWND window, WPARAM process_id, LPARAM exit_code);

}  // namespace glimmerly
