#pragma once
// The notification icon, and the one way every window the program owns is
// torn down: its state pointer cleared, its icon (if it ever had one) deleted,
// the window destroyed. Deleting an icon that does not exist is harmless, so
// it is always done.

#include <windows.h>
#include <shellapi.h>

#include <array>
#include <string_view>

#include "app/win/owners.h"
#include "core/base/result.h"

namespace glimmerly {

inline constexpr UINT TRAY_ICON_ID = 1;
// Resource id of the program's icon.
inline constexpr WORD APP_ICON_RESOURCE = 1;

// GWLP_USERDATA cleared, NIM_DELETE for (window, 1), DestroyWindow; failures ignored.
void destroy_owned_window(HWND window) noexcept;

struct OwnedWindowTraits : win::WindowTraits {
    static void close(Type h) noexcept { destroy_owned_window(h); }
};
using OwnedWindow = win::UniqueResource<OwnedWindowTraits>;

// The tooltip as the shell's fixed buffer: at most 127 code units, never
// ending in half a surrogate pair, the rest zero.
std::array<wchar_t, 128> copy_to_tip_buffer(std::string_view utf8);

// The program's small icon (shared: the system owns it).
Result<HICON> load_small_app_icon(HINSTANCE instance);

// The icon record: the window, id 1, WM_APP_TRAY as its callback, the icon
// and the tooltip; every other field zero.
NOTIFYICONDATAW make_icon_data(HWND window, HICON icon, std::string_view tip);

Status add_tray_icon(const NOTIFYICONDATAW& data);
// Rebuilds the tooltip and shows it, when the record names a window.
void modify_tray_icon(NOTIFYICONDATAW& data, std::string_view tip);

// The message Explorer broadcasts when it (re)starts: a new taskbar knows no
// icons, so everyone who had one adds it again.
UINT taskbar_created_message();

}  // namespace glimmerly
