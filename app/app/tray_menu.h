#pragma once
// The tray popup: the program's main menu, opened by a release on the
// notification icon. Two windows of the class "Glimmerly.Menu" share one
// state: the main popup, which takes the foreground and the keyboard, and a
// non-activating submenu beside it for the languages. The popup carries out
// nothing itself: it posts the chosen command, a shortcut row's action or
// its own closing to the application window, whose handler does the work
// and destroys or refreshes the popup.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "app/app/borrow_cell.h"
#include "core/base/pixel_rect.h"
#include "core/base/result.h"
#include "core/menu/popup_rows.h"

namespace glimmerly {

struct App;

inline constexpr wchar_t TRAY_POPUP_CLASS[] = L"Glimmerly.Menu";

struct TrayPopup {
    bool submenu_open = false;
    std::size_t submenu_parent = kLanguageRow;
    std::optional<std::size_t> main_hover;
    std::optional<std::size_t> sub_hover;
    PopupLayout main_layout;
    PopupLayout sub_layout;
    PopupRowState row_state;
    ShortcutBindings bindings;
    HWND owner = nullptr;
    HWND main_window = nullptr;
    HWND sub_window = nullptr;  // owned by the main window: destroyed with it
    PixelRect icon_rect;        // empty when the shell could not say
    double scale = 1.0;
    std::uint8_t active_level = 0;  // 0 the main popup, 1 the submenu: where the keys go
    bool keep_submenu_on_screen = true;
};

// Both windows keep the cell's address; a message that finds it borrowed
// goes to the default procedure.
using TrayPopupCell = BorrowCell<TrayPopup>;

// Tearing a popup down: both windows' state pointers cleared, the main
// window destroyed (the submenu goes with it), the state freed and the menu
// painter released.
struct TrayPopupCloser {
    void operator()(TrayPopupCell* cell) const noexcept;
};
using TrayPopupBox = std::unique_ptr<TrayPopupCell, TrayPopupCloser>;

// Opens the popup at the pointer, or closes the one that is open. A release
// within a second of a popup closing because the icon was pressed opens
// nothing: that press was meant to close it. A run that keeps a settings
// file reads it again first; an unreadable file is the failure and opens
// nothing.
Status open_tray_popup(App& app, HWND window);

// Lays both levels out again with a new snapshot and places and repaints
// them; a layout failure leaves the old layouts.
Status refresh_tray_popup(TrayPopup& popup, const ShortcutBindings& bindings);

// The open popup's recording, cancelled first, then the popup destroyed and
// forgotten.
void close_tray_popup(App& app, HWND window);


// SetWindowPos at HWND_TOPMOST or HWND_TOP; a failure is returned.
Status place_window(HWND window, bool topmost, int left, int top, int width, int height, UINT flags);

LRESULT CALLBACK tray_popup_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept;

}  // namespace glimmerly
