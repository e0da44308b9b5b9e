#include "app/app/setup.h"

#include <dwmapi.h>
#include <windowsx.h>

#include <array>
#include <cmath>

#include "app/app/app.h"
#include "app/app/hotkeys.h"
#include "app/app/row_edit.h"
#include "app/app/shortcut_commit.h"
#include "app/lib/settings_store.h"
#include "app/lib/ui_language.h"
#include "app/render/painting_kit.h"
#include "app/render/picture_drawing.h"
#include "app/render/setup_controls.h"
#include "app/settings/settings_window.h"
#include "app/win/failure.h"
#include "text/shortcut_text.h"

namespace glimmerly {
namespace {

constexpr Rgb kBackground{32, 32, 32};
constexpr Rgb kIcon{198, 198, 198};
constexpr Rgb kTitle{240, 240, 240};
constexpr Rgb kKeysFill{43, 43, 43};
constexpr Rgb kOutline{73, 73, 73};
constexpr Rgb kDim{154, 154, 154};
constexpr Rgb kError{248, 81, 73};
constexpr Rgb kCapFill{58, 58, 58};
constexpr Rgb kCapBorder{86, 86, 86};
constexpr Rgb kSaveOff{51, 51, 51};
constexpr Rgb kDark{32, 32, 32};

// The icons of the nine kinds, in kind order; the shapes are tool icons.
constexpr std::array<std::uint32_t, 9> kKindIcons{23, 24, 1024, 256, 512, 29, 41, 42, 26};

constexpr LONG kSetupStyle = WS_CAPTION | WS_SYSMENU;
constexpr DWORD kImmersiveDarkMode = 20;  // DWMWA_USE_IMMERSIVE_DARK_MODE, newer than the headers
constexpr std::uint32_t kPrintScreen = 0x2C;

void repaint(HWND window) { InvalidateRect(window, nullptr, FALSE); }

void release_resources(RendererResources* resources) { delete resources; }

Result<RendererResources*> setup_resources(SetupState& state) {
    if (!state.resources) {
        auto made = create_renderer_resources(true, false);
        if (!made) return std::move(made).failure();
        state.resources = SetupResources(made->release(), &release_resources);
    }
    return state.resources.get();
}

Box scaled(const Box& b, double s) { return {b.left * s, b.top * s, b.right * s, b.bottom * s}; }

Box inset(const Box& b, double by) { return {b.left + by, b.top + by, b.right - by, b.bottom - by}; }

TextId title_of(ShortcutKind kind) {
    return text_id(static_cast<std::uint16_t>(text_index(TextId::setup_title_capture) + static_cast<std::uint16_t>(kind)));
}

Status paint_keys_area(Painter& painter, const SetupState& state, double s) {
    const Box keys = state.layout.keys;
    const bool lit = state.focus == kSetupFocusKeys || state.listening;
    fill_rounded_rect(painter, scaled(keys, s), 6 * s, PaintColour::opaque(kKeysFill));
    stroke_rounded_rect(painter, inset(scaled(keys, s), 0.5 * s), 6 * s,
                        PaintColour::opaque(lit ? kSettingsAccent : kOutline), 1 * s);
    std::vector<SetupItem> items = setup_key_items(state);
    std::vector<double> widths;
    for (const SetupItem& item : items) {
        auto size = measure_ui_text(painter, item.text, 13 * s);
        if (!size) return std::move(size).failure();
        widths.push_back(size->w / s);
    }
    for (const SetupItem& item : place_setup_items(std::move(items), widths, keys)) {
        const Box box = scaled(item.box, s);
        switch (item.kind) {
            case SetupItemKind::Cap:
                GLIM_TRY(paint_setup_button(painter, box, s, item.text, {kCapFill, kCapBorder, kTitle}));
                break;
            case SetupItemKind::Separator:
                GLIM_TRY(paint_plain_text_centered(painter, item.text, box, 13 * s, kDim));
                break;
            case SetupItemKind::Text:
                GLIM_TRY(paint_plain_text_centered(painter, item.text, box, 13 * s, kIcon));
                break;
        }
    }
    return ok_status();
}

Status paint_dialog(Painter& painter, const SetupState& state, double s) {
    const SetupLayout& layout = state.layout;
    GLIM_TRY(paint_path(painter, {0, 0, layout.width * s, layout.height * s}, {}, PaintColour::opaque(kBackground)));
    GLIM_TRY(draw_icon(painter, static_cast<IconKind>(kKindIcons[static_cast<std::size_t>(state.kind)]),
                       {20 * s, 22 * s}, 0.8 * s, kIcon));
    const std::string title(text_of(state.language, title_of(state.kind)));
    auto title_size = measure_ui_text(painter, title, 16 * s);
    if (!title_size) return std::move(title_size).failure();
    const double title_top = 30 * s - title_size->h / 2;
    GLIM_TRY(draw_ui_text(painter, title, {46 * s, title_top, layout.width * s, title_top + title_size->h}, 16 * s,
                          PaintColour::opaque(kTitle)));
    GLIM_TRY(paint_keys_area(painter, state, s));
    const Rgb hint_colour = state.message.empty() ? kDim : kError;
    GLIM_TRY(draw_ui_text(painter, setup_hint_text(state), scaled(layout.hint, s), 12 * s,
                          PaintColour::opaque(hint_colour)));
    const bool cancel_focused = state.focus == kSetupFocusCancel;
    GLIM_TRY(paint_setup_button(painter, scaled(layout.cancel, s), s,
                                text_of(state.language, TextId::setup_cancel),
                                {kKeysFill, cancel_focused ? kSettingsAccent : kOutline, kTitle}));
    const bool enabled = setup_save_enabled(state);
    const Rgb save_fill = enabled ? kSettingsAccent : kSaveOff;
    return paint_setup_button(painter, scaled(layout.save, s), s, text_of(state.language, TextId::setup_save),
                              {save_fill, state.focus == kSetupFocusSave ? kTitle : save_fill, enabled ? kDark : kDim});
}

// Every text the dialog may show, measured in the interface format of the
// language; a failure gives the default layout.
SetupLayout measured_layout(SetupState& state) {
    auto resources = setup_resources(state);
    if (!resources) return SetupLayout{};
    RendererResources& r = **resources;
    const Language language = state.language;
    return measure_setup_layout(language, [&](const std::string& text, double size, double wrap) -> Result<Size> {
        auto format = ui_text_format(r, static_cast<float>(size), language);
        if (!format) return std::move(format).failure();
        return measure_text(r, text, format->get(), wrap > 0, static_cast<float>(wrap));
    });
}

Status place_setup_window(HWND window, const SetupLayout& layout) {
    const UINT dpi = std::max<UINT>(GetDpiForWindow(window), 96);
    const LONG width = static_cast<LONG>(std::lround(layout.width * dpi / 96.0));
    const LONG height = static_cast<LONG>(std::lround(layout.height * dpi / 96.0));
    RECT outer{0, 0, width, height};
    if (!AdjustWindowRectExForDpi(&outer, kSetupStyle, FALSE, WS_EX_TOOLWINDOW, dpi))
        return win::win32_failure("AdjustWindowRectExForDpi");
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor))
        return win::win32_failure("GetMonitorInfoW");
    const RECT& work = monitor.rcWork;
    const int outer_width = outer.right - outer.left, outer_height = outer.bottom - outer.top;
    const int x = work.left + (work.right - work.left - outer_width) / 2;
    const int y = work.top + (work.bottom - work.top - outer_height) / 2;
    if (!SetWindowPos(window, HWND_NOTOPMOST, x, y, outer_width, outer_height, SWP_FRAMECHANGED | SWP_SHOWWINDOW))
        return win::win32_failure("SetWindowPos");
    SetForegroundWindow(window);
    repaint(window);
    return ok_status();
}

// The capture shortcut proposed at a first start: bare Print Screen, taken
// from the system and registered; why it could not be is the dialog's message.
std::string propose_print_screen(App& app) {
    Status proposed = change_capture_shortcut(app, 0, kPrintScreen);
    if (proposed) return {};
    const auto held = print_screen_held_text(0, kPrintScreen, proposed.failure().code, current_language());
    return held ? *held : std::string();
}

// Presentation mode's shortcuts back for the features that are on, once a
// shortcut has been chosen.
Status take_back_presentation_shortcuts(App& app) {
    if (!app.presentation) return ok_status();
    auto state = app.presentation->try_borrow();
    if (!state) return plain_failure("Presentation mode is busy");
    // One that cannot be had is flagged on its row; only a failure of the
    // input itself counts, and that has turned presentation off.
    auto unavailable = apply_startup_presentation(*state);
    if (!unavailable) return std::move(unavailable).failure();
    return ok_status();
}

Status on_paint(App& app, HWND window) {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    RECT client{};
    GetClientRect(window, &client);
    Status painted = dc ? paint_setup_window(app.setup, dc, client) : ok_status();
    EndPaint(window, &paint);
    return painted;
}

Status on_click(App& app, HWND window, LPARAM lparam) {
    RECT client{};
    if (!GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0) return ok_status();
    const SetupLayout& layout = app.setup.layout;
    const double x = GET_X_LPARAM(lparam) * layout.width / client.right;
    const double y = GET_Y_LPARAM(lparam) * layout.height / client.bottom;
    const auto control = panel_button_at(layout, x, y);
    if (!control || (*control == kSetupFocusSave && app.setup.listening)) return ok_status();
    return commit_recorded_shortcut(app, window, *control);
}

}  // namespace

Status release_presentation_shortcuts(App& app) {
    if (!app.presentation) return ok_status();
    auto state = app.presentation->try_borrow();
    if (!state) return plain_failure("Presentation mode is busy");
    return withdraw_presentation_shortcuts(*state);
}

std::uint32_t read_hotkey_modifiers() {
    const auto down = [](int key) { return (GetKeyState(key) & 0x8000) != 0; };
    std::uint32_t modifiers = 0;
    if (down(VK_MENU)) modifiers |= MOD_ALT;
    if (down(VK_CONTROL)) modifiers |= MOD_CONTROL;
    if (down(VK_SHIFT)) modifiers |= MOD_SHIFT;
    if (down(VK_LWIN) || down(VK_RWIN)) modifiers |= MOD_WIN;
    return modifiers;
}

Status activate_resident(App& app, HWND window) {
    if (app.keeps_settings) GLIM_TRY(reload_settings(app.settings));
    GLIM_TRY(release_presentation_shortcuts(app));
    app.setup_open = true;
    std::string message;
    std::optional<Shortcut> recorded = row_shortcut_in(app.settings, ShortcutRow::Capture);
    if (!recorded) {
        message = propose_print_screen(app);
        recorded = Shortcut{0, kPrintScreen};
    }
    reset_setup_state(app.setup, ShortcutKind::Capture, recorded, false, current_language(), SetupLayout{});
    app.setup.message = std::move(message);
    app.setup.layout = measured_layout(app.setup);
    app.setup_previous_foreground = GetForegroundWindow();
    SetWindowLongPtrW(window, GWL_STYLE, kSetupStyle);
    const BOOL dark = TRUE;
    (void)DwmSetWindowAttribute(window, kImmersiveDarkMode, &dark, sizeof dark);  // older systems refuse it
    return place_setup_window(window, app.setup.layout);
}

Status close_app_window(App& app, HWND window) {
    const bool recording_row = app.setup.recording_row;
    app.setup_open = false;
    app.setup.resources.reset();
    app.setup.recording_row = false;
    // Reported once the window is closed: out of setup mode the dialog must
    // not stay on the screen because presentation mode failed.
    Status presentation = take_back_presentation_shortcuts(app);
    if (setup_close_quits(recording_row, app.setup.kind, app.capture_registration.registered,
                          app.instant_registration.registered, app.board_registration.registered)) {
        PostQuitMessage(0);
        return presentation;
    }
    if (IsWindowVisible(window)) ShowWindow(window, SW_HIDE);
    if (!recording_row) {
        if (const HWND previous = std::exchange(app.setup_previous_foreground, nullptr); previous && IsWindow(previous))
            SetForegroundWindow(previous);
    }
    // An open settings window shows the keys now in force, wherever they were changed.
    Status refreshed = refresh_settings_window(app);
    return presentation ? std::move(refreshed) : std::move(presentation);
}

Status paint_setup_window(SetupState& state, HDC dc, const RECT& client) {
    if (client.right <= client.left || client.bottom <= client.top) return ok_status();
    auto resources = setup_resources(state);
    if (!resources) return std::move(resources).failure();
    ID2D1DCRenderTarget* target = (*resources)->dc_target.get();
    const HRESULT bound = target->BindDC(dc, &client);
    if (FAILED(bound)) return win::hr_failure(bound, "BindDC");
    target->BeginDraw();
    target->SetTransform(D2D1::Matrix3x2F::Identity());
    const double s = (client.right - client.left) / state.layout.width;
    auto painter = make_painter(**resources, target);
    Status drawn = painter ? paint_dialog(*painter, state, s) : Status(painter.failure());
    const HRESULT ended = target->EndDraw();
    if (ended == static_cast<HRESULT>(D2DERR_RECREATE_TARGET)) state.resources.reset();
    GLIM_TRY(drawn);
    if (FAILED(ended)) return win::hr_failure(ended, "EndDraw");
    return ok_status();
}

Status handle_shortcut_capture_key(App& app, HWND window, std::uint32_t key) {
    const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const SetupKeyOutcome outcome = setup_key_down(app.setup, key, read_hotkey_modifiers(), shift);
    if (outcome.close) {
        GLIM_TRY(close_app_window(app, window));
        repaint(window);
        return ok_status();
    }
    if (outcome.press) return commit_recorded_shortcut(app, window, *outcome.press);
    if (outcome.repaint) repaint(window);
    return ok_status();
}

void record_setup_key(SetupState& state, std::uint32_t modifiers, std::uint32_t key) {
    (void)record_combination(state, modifiers, key);
}

Status record_row_key(App& app, HWND window, std::uint32_t modifiers, std::uint32_t key) {
    if (is_modifier_key(key)) {
        show_held_modifiers(app, modifiers);
        return ok_status();
    }
    (void)record_combination(app.setup, modifiers, key);
    return assign_row_shortcut(app, window);
}

Status commit_recorded_shortcut(App& app, HWND window, std::uint64_t control) {
    app.setup.focus = control;
    switch (control) {
        case kSetupFocusKeys:
            app.setup.listening = true;
            app.setup.message.clear();
            break;
        case kSetupFocusCancel: return close_app_window(app, window);
        default:
            if (!app.setup.recorded) return ok_status();
            GLIM_TRY(save_recorded_shortcut(app, window));
            break;
    }
    repaint(window);
    return ok_status();
}

AppAnswer handle_setup_message(App& app, HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (!app.setup_open) return not_handled();
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (lparam & (1 << 30)) return handled();  // a repeat is never a second press
            return answer(handle_shortcut_capture_key(app, window, static_cast<std::uint32_t>(wparam)));
        case WM_KEYUP:
        case WM_SYSKEYUP:
            // Print Screen reaches a window only as its release.
            if (wparam == kPrintScreen)
                return answer(handle_shortcut_capture_key(app, window, kPrintScreen));
            if (app.setup.listening) {
                app.setup.held_modifiers = read_hotkey_modifiers();
                repaint(window);
            }
            return handled();
        case WM_HOTKEY: {
            const auto modifiers = static_cast<std::uint32_t>(LOWORD(lparam));
            const auto key = static_cast<std::uint32_t>(HIWORD(lparam));
            if (app.setup.recording_row) return answer(record_row_key(app, window, modifiers, key));
            app.setup.listening = true;
            record_setup_key(app.setup, modifiers, key);
            repaint(window);
            return handled();
        }
        case WM_LBUTTONDOWN: return answer(on_click(app, window, lparam));
        case WM_SETCURSOR: SetCursor(LoadCursorW(nullptr, IDC_ARROW)); return handled(TRUE);
        case WM_PAINT:
            if (app.setup.recording_row) return not_handled();
            return answer(on_paint(app, window));
        case WM_CLOSE: return answer(close_app_window(app, window));
        default: return not_handled();
    }
}

}  // namespace glimmerly
