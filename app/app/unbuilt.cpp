#include "app/app/unbuilt.h"

#include <string>

namespace glimmerly {

Failure not_available(std::string_view what) {
    return Failure{E_NOTIMPL_CODE, std::string(what) + " is not available in this version of Glimmerly."};
}

Status start_board_editor_process() { return not_available("The board"); }
Status start_board_bake_process() { return not_available("The board"); }
Result<bool> board_still_on_desktop(bool, bool) { return false; }

Status restore_wallpaper(const std::wstring&) { return not_available("The board"); }
bool setup_is_recording(const App&) { return false; }

Status activate_resident(App&, HWND) { return ok_status(); }
void record_setup_key(App&, UINT, UINT) {}
Status close_app_window(App&, HWND) { return ok_status(); }

}  // namespace glimmerly
