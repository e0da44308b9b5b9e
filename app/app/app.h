#pragma once
// The state of one user-interface process (the resident, or an editor
// child): built once at start-up before the application window exists,
// owned by start-up in a borrow cell whose address the window keeps, and
// worked on by the window procedure one message at a time. It holds the only
// handles to the hotkeys, windows and states it names.

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <optional>
#include <string>

#include "app/app/borrow_cell.h"
#include "app/app/capture_session.h"
#include "app/app/display_watch.h"
#include "app/app/editor_process.h"
#include "app/app/hotkeys.h"
#include "app/app/instant.h"
#include "app/app/keyboard_hook.h"
#include "app/app/row_edit.h"
#include "app/app/notice.h"
#include "app/app/output_seams.h"
#include "app/app/tray_icon.h"
#include "app/app/tray_menu.h"
#include "app/diagnostics/frame_diagnostic.h"
#include "app/presentation/presentation.h"
#include "core/settings/settings.h"
#include "core/shortcuts/shortcut_setup.h"
#include "core/settings/tool_size_save.h"
#include "ui/settings_panel/settings_panel.h"

namespace glimmerly {

struct WarmRenderer;
struct SettingsWindow;

struct AppOptions {
    Settings settings;
    bool in_process_editor = false;
    bool keeps_settings = true;
    bool setup_open = false;
    bool settings_fresh = false;
    HWND notification_owner = nullptr;
    std::wstring board_program;
    EditorStarter editor_starter;
};

struct App {
    explicit App(AppOptions options);
    App(const App&) = delete;
    App& operator=(const App&) = delete;
    // Gives everything back in a fixed order; each step runs whatever an
    // earlier one met.
    ~App();

    HotkeyRegistration instant_registration{false, 0, nullptr, HOTKEY_ID_INSTANT_BASE};
    // The resident window that an editor child reports to.
    HWND notification_owner = nullptr;
    // An editor child's watch on the process of that window: its end ends
    // a child that waits for a capture request.
    win::UniqueHandle owner_process;
    // The latest notice this process showed.
    NoticeWindow notice;
    std::unique_ptr<CaptureSession> capture_session;
    // The resident's editor child, when one runs.
    std::optional<EditorProcess> editor;
    EditorStarter editor_starter;
    // The last wait before a failed prepared start is tried again; 0 while
    // none is pending.
    std::uint32_t prepare_retry_ms = 0;
    Settings settings;
    // Made by a prepared editor child before its capture, which takes it;
    // made for one display layout, so a display change drops it.
    std::unique_ptr<WarmRenderer> warm_renderer;
    HotkeyRegistration capture_registration{false, 0, nullptr, HOTKEY_ID_CAPTURE_BASE};
    HotkeyRegistration board_registration{false, 0, nullptr, HOTKEY_ID_BOARD_BASE};
    // The hook that takes the presses of those three shortcuts that are lock
    // keys; none runs while none is.
    ShortcutListener lock_key_listener;
    // The icon as the shell was given it, for adding it again and for new tooltips.
    NOTIFYICONDATAW icon_data{};
    // Set once the shell took the icon: only then is it added again when
    // Explorer restarts.
    bool icon_added = false;
    std::unique_ptr<PresentationCell> presentation;
    // Setup mode: the application window records a shortcut, shown as the
    // first-run dialog or hidden while a shortcut row records.
    bool setup_open = false;
    SetupState setup;
    // The window that had the foreground when the dialog opened, given it back on closing.
    HWND setup_previous_foreground = nullptr;
    // This process runs the capture editor itself (an editor child).
    bool in_process_editor = false;
    // The process reads and writes the settings file and may take Print Screen over.
    bool keeps_settings = true;
    // A cold editor child read the settings at its start, after the key that
    // asked for its one capture: reading them again there cost 1-12 ms
    // before the frozen screen showed, for the same file.
    bool settings_fresh = false;
    // The program the board's processes run; empty: this one.
    std::wstring board_program;
    // Set by a display change for the next board check.
    bool display_changed = false;
    // The layout the windows were last made for; none while a change still
    // waits to be taken (the presentation was busy when it came).
    std::optional<DisplayLayout> display_layout;
    // The open tray popup, at most one.
    TrayPopupBox tray_popup;
    // The open settings window, at most one, and the page it showed when it
    // last closed: it reopens there for the rest of the process's life.
    std::unique_ptr<SettingsWindow> settings_window;
    SettingsPage last_settings_page = SettingsPage::General;
    // When a popup closed because the icon was pressed (GetTickCount64): the
    // release that follows must not open it again.
    std::optional<ULONGLONG> popup_closed_at;
    // A shortcut row's combination before its last change, offered back.
    SavedBefore saved_before;
    // The editor's stroke width and eraser size, remembered and saved late.
    ToolSizeSave tool_sizes;
    // The capture's image search: its worker and result, while one runs.
    LensSearch lens;
    OutputSeams outputs;
    // Armed only in an editor process started to time its first frame.
    FrameDiagnostic frame_diagnostic;
    // Last, so that it goes first: its worker is waited for while the
    // window and the notice still exist.
    InstantScreenshot instant;
};

using AppCell = BorrowCell<App>;

// Gives the window to the three registrations and to the icon record.
void attach_app_window(App& app, HWND window, HICON small_icon);

// Withdraws the instant-screenshot shortcut.
void close_instant_capture(App& app);

}  // namespace glimmerly
