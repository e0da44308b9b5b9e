#pragma once
// The private window messages and the timers of the application window and
// its helpers. Messages cross threads and the two processes (the resident and
// its editor child), so each is only ever posted; a receiver checks the
// sender's process id where one is carried.

#include <windows.h>

namespace glimmerly {

// The notification icon's callback: wParam the icon id, lParam the mouse message.
inline constexpr UINT WM_APP_TRAY = WM_APP + 1;
// Start a capture: wParam a request time or 0, lParam a packed rectangle or 0.
inline constexpr UINT WM_APP_START_CAPTURE = WM_APP + 2;
// WM_APP + 3 is never posted.
// The image-search worker has put the page's path (or its failure) into the
// channel. wParam and lParam are 0.
inline constexpr UINT WM_APP_LENS_DONE = WM_APP + 4;
// Editor child to resident: wParam the child's process id, lParam a notice kind.
inline constexpr UINT WM_APP_NOTICE = WM_APP + 5;
// The instant-screenshot worker has put its result into the channel; the
// application window takes it out. wParam and lParam are 0.
inline constexpr UINT WM_APP_INSTANT_SCREENSHOT_DONE = WM_APP + 6;
// The renderer thread has put its resources (or its failure) into the
// channel; the capture's window takes them out. wParam and lParam are 0.
inline constexpr UINT WM_APP_RENDERER_READY = WM_APP + 7;
// Editor child to resident: wParam the child's process id, lParam its window.
inline constexpr UINT WM_APP_EDITOR_READY = WM_APP + 8;
// The resident's loop to its window, once the child has ended: wParam the child's process id, lParam its exit code.
inline constexpr UINT WM_APP_EDITOR_EXITED = WM_APP + 9;
inline constexpr UINT WM_APP_PRESENTATION_FAILED = WM_APP + 10;
inline constexpr UINT WM_APP_SAVE_SETTINGS = WM_APP + 11;
// Keyboard hook: wParam the virtual key, lParam the scan code (bits 0-15),
// released (bit 16) and extended (bit 17).
inline constexpr UINT WM_APP_KEY_REPORT = WM_APP + 12;
// Tray popup: wParam an application command, lParam 0 when the menus close first.
inline constexpr UINT WM_APP_MENU_COMMAND = WM_APP + 13;
inline constexpr UINT WM_APP_MENU_CLOSED = WM_APP + 14;
// Board editor to its owner: wParam its process id, lParam a packed rectangle or 0.
inline constexpr UINT WM_APP_BOARD_CLOSED = WM_APP + 15;
// Editor child to resident as its capture closes, under the same number:
// wParam its process id, lParam the capture's region packed by
// pack_closed_rectangle, or 0.
inline constexpr UINT WM_APP_EDITOR_CLOSED = WM_APP_BOARD_CLOSED;
inline constexpr UINT WM_APP_LOUPE_WINDOW_EVENT = WM_APP + 16;
inline constexpr UINT WM_APP_LOUPE_FRAME_ARRIVED = WM_APP + 17;
// Tray popup rows: wParam the row's command, lParam the action (bits 0-2) and key (from bit 8).
inline constexpr UINT WM_APP_MENU_UPDATE = WM_APP + 18;
// The editor window's text box refused an insertion past the stored limit
// and kept the refusal; the App shows it once the control's handling
// returned. wParam and lParam are 0.
inline constexpr UINT WM_APP_TYPING_REFUSED = WM_APP + 19;
// Editor child to resident: wParam the child's process id, lParam 0. The
// child has read WM_APP_START_CAPTURE; until this arrives the request is
// still the resident's, whatever became of the post.
inline constexpr UINT WM_APP_CAPTURE_TAKEN = WM_APP + 20;
// A thread message to the user-interface thread, two seconds after start.
inline constexpr UINT WM_APP_DELAYED_WAKE = WM_APP + 50;

// Timers. Ids 1 belong to the notice, pulse and tray popup windows, the
// others to the application window.
// A notice window's fade, every 30 ms, on the notice's own window.
inline constexpr UINT_PTR TIMER_NOTICE = 1;
// The capture pulse's rise and fall, every 25 ms, on the pulse's own window.
inline constexpr UINT_PTR TIMER_CAPTURE_PULSE = 1;
// The tray popup's submenu opens or closes after the system's menu delay of hovering.
inline constexpr UINT_PTR TIMER_POPUP_SUBMENU = 1;
inline constexpr UINT_PTR TIMER_PRESENTATION_FRAME = 90;
inline constexpr UINT_PTR BOARD_CLOSE_TIMER = 20824;
inline constexpr UINT_PTR TIMER_BOARD_CHECK = 21314;
inline constexpr UINT_PTR TIMER_SESSION_FRAME = 21315;
inline constexpr UINT_PTR TIMER_DEFERRED_REPLAY = 21317;
inline constexpr UINT_PTR TIMER_TOOLBAR_ANIMATION = 21320;
// An instant-screenshot result that arrived while the window was busy is
// taken 30 ms later.
inline constexpr UINT_PTR TIMER_INSTANT_RETRY = 21331;
inline constexpr UINT_PTR TIMER_SETTINGS_SAVE = 21335;
// A prepared editor child whose start failed is started again.
inline constexpr UINT_PTR TIMER_PREPARE_EDITOR = 21336;
// The application window's look at the display layout (display_watch.h).
inline constexpr UINT_PTR TIMER_DISPLAY_WATCH = 21341;

inline constexpr UINT kBoardCloseDelayMs = 2100;
inline constexpr UINT kBoardCheckDelayMs = 1500;
inline constexpr UINT kReplayDelayMs = 30;
inline constexpr UINT kDisplayWatchMs = 1000;

}  // namespace glimmerly
