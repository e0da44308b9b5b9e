#pragma once
// The settings window: one ordinary top-level window showing the settings
// panel, painted with Direct2D into its client area. It owns no settings:
// every answer of the panel goes to `apply_settings_change`, which changes
// the App and then refreshes this window. The window reaches the App
// through the application window's handle, kept in its GWLP_USERDATA, and
// borrows it for one message at a time.

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

#include "app/app/tray_icon.h"
#include "app/render/renderer_resources.h"
#include "core/base/result.h"
#include "core/menu/popup_rows.h"
#include "ui/settings_panel/settings_panel.h"

namespace glimmerly {

struct App;

inline constexpr wchar_t SETTINGS_WINDOW_CLASS[] = L"Glimmerly.Settings";
// The settings window's own frame timer (ids are per window).
inline constexpr UINT_PTR SETTINGS_FRAME_TIMER = 1;
inline constexpr UINT kSettingsFrameMs = 16;
// WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX: no sizing border, the content
// decides the size.
inline constexpr DWORD kSettingsWindowStyle = 0x00CA0000;

struct SettingsWindow {
    SettingsPanel panel;
    // Made at the first measuring or paint, dropped after a failed paint so
    // that the next one builds them again.
    std::unique_ptr<RendererResources> resources;
    std::chrono::steady_clock::time_point opened_at;
    // The recording shown on the row being edited (its held keys and message).
    std::optional<ShortcutRecording> recording;
    // A slider change waits for the next frame tick to reach the screen.
    bool apply_pending = false;
    // Last, so that it goes first: no message reaches a half-dropped record.
    OwnedWindow window;
};

// Command 170: opens the window on the page shown last, or restores and
// activates the one that is open.
Status open_settings_window(App& app, HWND app_window);

LRESULT CALLBACK settings_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept;

// One paint pass of the current page into the DC (a window's or a DIB's).
Status paint_settings_window(SettingsWindow& settings, HDC dc, const RECT& client);
// Measures every text the panel can show into its width cache and gives it
// the natural size of its largest page and pointer section; the page and
// section it shows stay as they were.
Status measure_settings_panel(SettingsPanel& panel, RendererResources& resources);
// Measures every text, fixes the natural size over all pages and sections,
// lays the current page out and sizes the window.
Status layout_settings_window(SettingsWindow& settings);
// Sizes the window for the content at its dpi and keeps it in the work area.
Status place_settings_window(SettingsWindow& settings, bool centre);

// After a change: a new view, laid out again when it differs.
Status refresh_settings_window(App& app);
Result<SettingsView> snapshot_settings_view(const App& app, Language language);
// The panel's mirrored switches follow the presentation state and the board.
void sync_presentation_toggles(App& app);
Status record_row_key_release(App& app, HWND app_window, std::uint32_t key);

// The open window, or none; a record whose window the system destroyed
// while the App was busy is dropped here, keeping its page.
SettingsWindow* live_settings_window(App& app);

// Milliseconds since the window opened, saturating.
std::uint64_t settings_clock_ms(const SettingsWindow& settings);

}  // namespace glimmerly
