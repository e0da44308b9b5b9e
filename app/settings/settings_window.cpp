#include "app/settings/settings_window.h"

#include <dwmapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "app/app/app.h"
#include "app/app/error_box.h"
#include "app/app/row_edit.h"
#include "app/app/setup.h"
#include "app/lib/registry_names.h"
#include "app/lib/settings_store.h"
#include "app/render/text_formats.h"
#include "app/settings/settings_apply.h"
#include "app/settings/settings_page_paint.h"
#include "app/win/failure.h"
#include "ui/settings_panel/pointer_preview.h"
#include "ui/settings_panel/settings_input.h"
#include "ui/settings_panel/settings_layout.h"
#include "ui/settings_panel/settings_placement.h"

namespace glimmerly {
namespace {

constexpr DWORD kImmersiveDarkMode = 20;  // DWMWA_USE_IMMERSIVE_DARK_MODE, missing from older headers
constexpr UINT kPrintScreen = VK_SNAPSHOT;

double window_scale(HWND window) {
    const UINT dpi = GetDpiForWindow(window);
    return dpi == 0 ? 1.0 : dpi / 96.0;
}

std::wstring settings_title(Language language) {
    return win::to_wide(std::string(text_of(language, TextId::settings_title)) + " - Glimmerly");
}

Result<RendererResources*> settings_resources(SettingsWindow& settings) {
    if (!settings.resources) {
        auto made = create_renderer_resources(true, false);
        if (!made) return std::move(made).failure();
        settings.resources = std::move(*made);
    }
    return settings.resources.get();
}

std::uint32_t packed_colour(Rgb colour) {
    return std::uint32_t{colour.r} | std::uint32_t{colour.g} << 8 | std::uint32_t{colour.b} << 16;
}

Status measure_into_cache(SettingsPanel& panel, RendererResources& resources, std::string_view text, double size,
                          UiTextStyle style) {
    auto format = styled_text_format(resources, static_cast<float>(size), style, panel.language);
    if (!format) return std::move(format).failure();
    auto measured = measure_text(resources, text, format->get(), false, 0.0f);
    if (!measured) return std::move(measured).failure();
    insert_text_width(panel, text, size, style, std::ceil(measured->w));
    return ok_status();
}

// Every summary a section header can show while its values change: each
// value of each choice, and each slider at both ends, so that a page never
// needs a width it has not measured.
Status measure_value_texts(SettingsPanel& panel, RendererResources& resources) {
    const PointerSettings kept = panel.pointer;
    Status result = ok_status();
    for (std::uint8_t id = 0; id < kPointerItemCount && result; ++id) {
        const PointerSection section = pointer_section_of(id);
        const auto measure = [&]() {
            return measure_into_cache(panel, resources, settings_row_value_text(panel, section), 12.0,
                                      UiTextStyle::Small);
        };
        if (const auto slider = pointer_slider(id)) {
            for (const std::uint32_t value : {slider->min, slider->max}) {
                panel.pointer.*(slider->field) = value;
                if (result) result = measure();
            }
        } else {
            for (const PointerChoice& choice : pointer_choices(id)) {
                set_pointer_choice(panel, id, choice.value);
                if (result) result = measure();
            }
        }
        panel.pointer = kept;
    }
    panel.pointer = kept;
    return result;
}

Size natural_content_size(SettingsPanel& panel) {
    const SettingsPage page = panel.page;
    const std::uint8_t section = panel.expanded_section;
    Size most{0.0, 0.0};
    const auto take = [&](Size size) {
        most.w = std::max(most.w, std::ceil(size.w));
        most.h = std::max(most.h, std::ceil(size.h));
    };
    for (const SettingsPage each : {SettingsPage::General, SettingsPage::Shortcuts, SettingsPage::Presentation}) {
        panel.page = each;
        take(layout_settings_page(panel, true));
    }
    panel.page = SettingsPage::PointerEffects;
    for (std::uint8_t each = 0; each < kPointerSectionCount; ++each) {
        panel.expanded_section = each;
        take(layout_settings_page(panel, true));
    }
    panel.page = page;
    panel.expanded_section = section;
    return most;
}

std::optional<PanelKey> panel_key_of(WPARAM key) {
    switch (key) {
        case VK_TAB: return GetKeyState(VK_SHIFT) < 0 ? PanelKey::Previous : PanelKey::Next;
        case VK_UP: return PanelKey::Up;
        case VK_DOWN: return PanelKey::Down;
        case VK_LEFT: return PanelKey::Left;
        case VK_RIGHT: return PanelKey::Right;
        case VK_RETURN:
        case VK_SPACE: return PanelKey::Activate;
        case VK_BACK:
        case VK_DELETE: return PanelKey::Clear;
        case VK_ESCAPE: return PanelKey::Cancel;
        default: return std::nullopt;
    }
}

// Client pixels to the panel's DIPs.
Point panel_point(HWND window, LPARAM lparam) {
    const double scale = window_scale(window);
    return {GET_X_LPARAM(lparam) / scale, GET_Y_LPARAM(lparam) / scale};
}

// A move or a release keeps only its tag and commit bit.
PanelResponse tag_and_commit(PanelResponse response) { return {response.word & 0x1FF}; }

// The procedure's work for one message with the App held; none: the
// default procedure answers.
class SettingsMessage {
public:
    SettingsMessage(App& app, HWND app_window, SettingsWindow& settings, HWND window)
        : app_(app), app_window_(app_window), settings_(settings), window_(window) {}

    std::optional<LRESULT> route(UINT message, WPARAM wparam, LPARAM lparam) {
        const bool recording = settings_.panel.editing_row.has_value();
        switch (message) {
            case WM_PAINT: return done(on_paint());
            case WM_ERASEBKGND: return 1;
            case WM_CLOSE: return done(apply(PanelResponse::of(PanelTag::Close)));
            case WM_KEYDOWN:
                if (recording) return done(on_recorded_key(wparam, lparam));
                return on_key(wparam);
            case WM_SYSKEYDOWN:
                if (recording) return done(on_recorded_key(wparam, lparam));
                return std::nullopt;
            case WM_KEYUP:
            case WM_SYSKEYUP:
                if (recording) return done(on_recorded_release(wparam));
                return std::nullopt;
            case WM_CHAR:
            case WM_SYSCHAR:
                if (recording) return 0;
                return std::nullopt;
            case WM_TIMER:
                if (wparam != SETTINGS_FRAME_TIMER) return std::nullopt;
                on_frame_tick();
                return 0;
            case WM_MOUSEMOVE:
                // Without the capture, a move is only the pointer passing over.
                if (GetCapture() != window_) return std::nullopt;
                return done(apply(tag_and_commit(panel_mouse_move(settings_.panel, panel_point(window_, lparam).x))));
            case WM_LBUTTONDOWN: {
                SetCapture(window_);
                const Point at = panel_point(window_, lparam);
                return done(apply(panel_mouse_down(settings_.panel, at.x, at.y)));
            }
            case WM_LBUTTONUP: {
                (void)ReleaseCapture();
                return done(apply(tag_and_commit(panel_mouse_up(settings_.panel, panel_point(window_, lparam).x))));
            }
            case WM_MOUSEWHEEL: return done(on_wheel(wparam, lparam));
            case WM_DPICHANGED: on_dpi_changed(lparam); return 0;
            default: return std::nullopt;
        }
    }

private:
    // Failures are shown and dropped: the window stays and goes on.
    LRESULT done(Status status) {
        if (!status) show_error_box(window_, status.failure());
        return 0;
    }

    // The record may be gone afterwards (tag 17): nothing of it is used after.
    Status apply(PanelResponse response) { return apply_settings_change(app_, app_window_, response); }

    Status on_paint() {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(window_, &paint);
        RECT client{};
        if (!GetClientRect(window_, &client)) client = RECT{};
        Status painted = dc ? paint_settings_window(settings_, dc, client) : ok_status();
        EndPaint(window_, &paint);
        return painted;
    }

    std::optional<LRESULT> on_key(WPARAM key) {
        const auto panel_key_value = panel_key_of(key);
        if (!panel_key_value) return std::nullopt;
        return done(apply(panel_key(settings_.panel, *panel_key_value)));
    }

    Status on_recorded_key(WPARAM key, LPARAM flags) {
        if (flags & (LPARAM{1} << 30)) return ok_status();  // auto-repeat: a held key records once
        GLIM_TRY(edit_shortcut_row(app_, app_window_, static_cast<std::uint32_t>(key)));
        return refresh_settings_window(app_);
    }

    Status on_recorded_release(WPARAM key) {
        GLIM_TRY(record_row_key_release(app_, app_window_, static_cast<std::uint32_t>(key)));
        return refresh_settings_window(app_);
    }

    Status on_wheel(WPARAM wparam, LPARAM lparam) {
        POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
        if (!ScreenToClient(window_, &at)) return win::win32_failure("ScreenToClient");
        const double scale = window_scale(window_);
        // The raw delta: the panel keeps what a precise wheel sends below a notch.
        const auto delta = static_cast<std::int16_t>(HIWORD(wparam));
        return apply(panel_wheel(settings_.panel, at.x / scale, at.y / scale, delta));
    }

    void on_frame_tick() {
        if (!IsIconic(window_) && animate_pointer_preview(settings_.panel, settings_clock_ms(settings_)))
            InvalidateRect(window_, nullptr, FALSE);
        if (std::exchange(settings_.apply_pending, false)) {
            if (Status applied = commit_pointer_page(app_, false); !applied) {
                show_error_box(window_, applied.failure());
                return;
            }
        }
        sync_presentation_toggles(app_);
    }

    void on_dpi_changed(LPARAM lparam) {
        const RECT* suggested = reinterpret_cast<const RECT*>(lparam);
        if (suggested)
            (void)SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                               suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        (void)place_settings_window(settings_, false);
        InvalidateRect(window_, nullptr, FALSE);
    }

    App& app_;
    HWND app_window_;
    SettingsWindow& settings_;
    HWND window_;
};

LRESULT handle_settings_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    const auto app_window = reinterpret_cast<HWND>(GetWindowLongPtrW(window, GWLP_USERDATA));
    auto* cell = app_window ? reinterpret_cast<AppCell*>(GetWindowLongPtrW(app_window, GWLP_USERDATA)) : nullptr;
    if (!cell) return DefWindowProcW(window, message, wparam, lparam);
    auto app = cell->try_borrow();
    if (!app) {
        // The resident is inside a message box: the close box would destroy
        // the window under a record that still names it.
        if (message == WM_CLOSE) return 0;
        return DefWindowProcW(window, message, wparam, lparam);
    }
    SettingsWindow* settings = app->settings_window.get();
    if (!settings || settings->window.get() != window) return DefWindowProcW(window, message, wparam, lparam);
    if (message == WM_NCDESTROY) {
        // Destroyed from outside: the record must not keep a dead handle.
        (void)settings->window.release();
        app->last_settings_page = settings->panel.page;
        app->settings_window.reset();
        return DefWindowProcW(window, message, wparam, lparam);
    }
    SettingsMessage handler(*app, app_window, *settings, window);
    if (const auto answer = handler.route(message, wparam, lparam)) return *answer;
    app.release();
    return DefWindowProcW(window, message, wparam, lparam);
}

Status register_settings_class() {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = settings_window_proc;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.lpszClassName = SETTINGS_WINDOW_CLASS;
    if (!RegisterClassW(&window_class) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return win::win32_failure("RegisterClassW", SETTINGS_WINDOW_CLASS);
    return ok_status();
}

bool shortcut_failed(const App& app, std::size_t row) {
    if (row <= 2) {
        const HotkeyRegistration& registration =
            row == 0 ? app.capture_registration : row == 1 ? app.instant_registration : app.board_registration;
        return !registration.registered;
    }
    if (!app.presentation) return false;
    auto state = app.presentation->try_borrow();
    if (!state) return false;
    if (row <= 5) return state->shortcuts.failed[row - 2];  // stop, arrow, rectangle, ellipse
    return state->pointer_shortcuts.failed[row - 6];
}

}  // namespace

LRESULT CALLBACK settings_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    try {
        return handle_settings_message(window, message, wparam, lparam);
    } catch (...) {
        return DefWindowProcW(window, message, wparam, lparam);  // nothing crosses a window procedure
    }
}

std::uint64_t settings_clock_ms(const SettingsWindow& settings) {
    const auto elapsed = std::chrono::steady_clock::now() - settings.opened_at;
    if (elapsed.count() < 0) return 0;
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

SettingsWindow* live_settings_window(App& app) {
    SettingsWindow* settings = app.settings_window.get();
    if (!settings) return nullptr;
    if (IsWindow(settings->window.get())) return settings;
    (void)settings->window.release();
    app.last_settings_page = settings->panel.page;
    app.settings_window.reset();
    return nullptr;
}

Result<SettingsView> snapshot_settings_view(const App& app, Language language) {
    SettingsView view;
    for (std::size_t row = 0; row < view.rows.size(); ++row) {
        const auto shortcut = row_shortcut_in(app.settings, static_cast<ShortcutRow>(row));
        const bool unavailable = shortcut && shortcut_failed(app, row);
        view.rows[row] = optional_shortcut_key_caps(shortcut, unavailable ? 1 : 0, language);
    }
    view.input_size = app.settings.input_display_size;
    view.shape_duration = app.settings.presentation_duration_ms;
    // A value of any type counts: another program may have written it as
    // REG_EXPAND_SZ, and that must not keep the window from opening.
    const LSTATUS run = RegGetValueW(HKEY_CURRENT_USER, RUN_KEY, RUN_VALUE, RRF_RT_ANY, nullptr, nullptr, nullptr);
    if (run != ERROR_SUCCESS && run != ERROR_FILE_NOT_FOUND)
        return win::win32_failure_code(static_cast<DWORD>(run), "RegGetValueW", RUN_VALUE);
    view.start_with_windows = run == ERROR_SUCCESS;
    view.live_capture_default = app.settings.live_capture;
    view.mini_toolbar = app.settings.mini_toolbar;
    view.obs_mirror = app.settings.obs_mirror;
    view.board_visible = app.settings.board_visible;
    if (app.presentation)
        if (auto state = app.presentation->try_borrow()) {
            view.moving_input = state->move_armed;
            view.keyboard = state->features.keyboard;
            view.mouse = state->features.mouse;
            view.temporary_shapes = state->features.temporary_shapes;
        }
    return view;
}

Status open_settings_window(App& app, HWND app_window) {
    if (SettingsWindow* open = live_settings_window(app)) {
        ShowWindow(open->window.get(), SW_RESTORE);
        SetForegroundWindow(open->window.get());
        return ok_status();
    }
    if (app.keeps_settings) GLIM_TRY(reload_settings(app.settings));
    const Language language = current_language();
    auto view = snapshot_settings_view(app, language);
    if (!view) return std::move(view).failure();
    bool effects = false, magnifier = false;
    if (app.presentation)
        if (auto state = app.presentation->try_borrow()) {
            effects = state->features.pointer_effects;
            magnifier = state->features.magnifier;
        }
    auto settings = std::make_unique<SettingsWindow>();
    settings->panel = new_settings_panel(app.settings.pointer, packed_colour(app.settings.presentation_color_1), effects,
                                         std::move(*view), language);
    settings->panel.magnifier = magnifier;
    settings->panel.page = app.last_settings_page;
    settings->panel.focus = PanelFocus{PanelItemKind::Tab, static_cast<std::uint8_t>(app.last_settings_page)};
    GLIM_TRY(register_settings_class());
    POINT cursor{};
    if (!GetCursorPos(&cursor)) cursor = POINT{};
    HWND window = CreateWindowExW(0, SETTINGS_WINDOW_CLASS, settings_title(language).c_str(), kSettingsWindowStyle,
                                  cursor.x, cursor.y, 100, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window) return win::win32_failure("CreateWindowExW", SETTINGS_WINDOW_CLASS);
    settings->window = OwnedWindow(window);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(app_window));
    const BOOL dark = TRUE;
    (void)DwmSetWindowAttribute(window, kImmersiveDarkMode, &dark, sizeof dark);  // older systems refuse it
    settings->opened_at = std::chrono::steady_clock::now();
    // A failure from here on drops the record, and the window with it.
    GLIM_TRY(layout_settings_window(*settings));
    GLIM_TRY(place_settings_window(*settings, true));
    if (!SetTimer(window, SETTINGS_FRAME_TIMER, kSettingsFrameMs, nullptr)) return win::win32_failure("SetTimer");
    app.settings_window = std::move(settings);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    return ok_status();
}

Status paint_settings_window(SettingsWindow& settings, HDC dc, const RECT& client) {
    if (client.right <= client.left || client.bottom <= client.top) return ok_status();
    auto resources = settings_resources(settings);
    if (!resources) return std::move(resources).failure();
    ID2D1DCRenderTarget* target = (*resources)->dc_target.get();
    Status drawn = [&]() -> Status {
        const HRESULT bound = target->BindDC(dc, &client);
        if (FAILED(bound)) return win::hr_failure(bound, "BindDC");
        target->BeginDraw();
        target->SetTransform(D2D1::Matrix3x2F::Identity());
        auto painter = make_painter(**resources, target);
        Status page = painter ? paint_settings_page(settings.panel, *painter, window_scale(settings.window.get()),
                                                    settings_clock_ms(settings),
                                                    settings.recording ? &*settings.recording : nullptr)
                              : Status(painter.failure());
        const HRESULT ended = target->EndDraw();
        GLIM_TRY(page);
        if (FAILED(ended)) return win::hr_failure(ended, "EndDraw");
        return ok_status();
    }();
    if (!drawn) settings.resources.reset();  // built again at the next paint
    return drawn;
}

Status measure_settings_panel(SettingsPanel& panel, RendererResources& resources) {
    panel.text_widths.clear();
    for (const TextToMeasure& text : collect_settings_texts(panel))
        GLIM_TRY(measure_into_cache(panel, resources, text.text, text.size, text.style));
    GLIM_TRY(measure_value_texts(panel, resources));
    const Size natural = natural_content_size(panel);
    panel.client_width = natural.w;
    panel.client_height = natural.h;
    return ok_status();
}

Status layout_settings_window(SettingsWindow& settings) {
    auto made = settings_resources(settings);
    if (!made) return std::move(made).failure();
    SettingsPanel& panel = settings.panel;
    GLIM_TRY(measure_settings_panel(panel, **made));
    (void)layout_settings_page(panel, false);
    return place_settings_window(settings, false);
}

Status place_settings_window(SettingsWindow& settings, bool centre) {
    HWND window = settings.window.get();
    const UINT dpi = GetDpiForWindow(window);
    const double scale = dpi == 0 ? 1.0 : dpi / 96.0;
    const auto pixels = [](double length) {
        return static_cast<LONG>(std::clamp(std::ceil(length), 0.0, double(std::numeric_limits<std::int32_t>::max())));
    };
    RECT outer{0, 0, pixels(settings.panel.client_width * scale), pixels(settings.panel.client_height * scale)};
    if (!AdjustWindowRectExForDpi(&outer, kSettingsWindowStyle, FALSE, 0, dpi == 0 ? 96 : dpi))
        return win::win32_failure("AdjustWindowRectExForDpi");
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor))
        return win::win32_failure("GetMonitorInfoW");
    RECT now{};
    if (!centre && !GetWindowRect(window, &now)) return win::win32_failure("GetWindowRect");
    const RECT& work = monitor.rcWork;
    const std::int32_t width = outer.right - outer.left, height = outer.bottom - outer.top;
    const PixelPoint at = glimmerly::place_settings_window(PixelRect{work.left, work.top, work.right, work.bottom},
                                                           PixelPoint{now.left, now.top}, width, height, centre);
    if (!SetWindowPos(window, nullptr, at.x, at.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE))
        return win::win32_failure("SetWindowPos");
    return ok_status();
}

Status refresh_settings_window(App& app) {
    SettingsWindow* settings = live_settings_window(app);
    if (!settings) return ok_status();
    const Language language = current_language();
    auto view = snapshot_settings_view(app, language);
    if (!view) return std::move(view).failure();
    SettingsPanel& panel = settings->panel;
    panel.pointer.show_click_shortcut = app.settings.pointer.show_click_shortcut;
    panel.pointer.spotlight_shortcut = app.settings.pointer.spotlight_shortcut;
    panel.pointer.magnifier_shortcut = app.settings.pointer.magnifier_shortcut;
    HWND window = settings->window.get();
    if (*view == panel.view && panel.language == language) {
        (void)layout_settings_page(panel, false);
        InvalidateRect(window, nullptr, FALSE);
        return ok_status();
    }
    const bool retitle = panel.language != language;
    panel.view = std::move(*view);
    panel.language = language;
    GLIM_TRY(layout_settings_window(*settings));
    if (retitle && !SetWindowTextW(window, settings_title(language).c_str()))
        return win::win32_failure("SetWindowTextW");
    InvalidateRect(window, nullptr, FALSE);
    return ok_status();
}

void sync_presentation_toggles(App& app) {
    SettingsWindow* settings = live_settings_window(app);
    if (!settings) return;
    PresentationFeatures on{};
    bool moving = false;
    if (app.presentation)
        if (auto state = app.presentation->try_borrow()) {
            on = state->features;
            moving = state->move_armed;
        }
    SettingsPanel& panel = settings->panel;
    SettingsView& view = panel.view;
    const bool same = panel.pointer_effects == bool(on.pointer_effects) && panel.magnifier == bool(on.magnifier) &&
                      view.moving_input == moving && view.board_visible == app.settings.board_visible &&
                      view.keyboard == bool(on.keyboard) && view.mouse == bool(on.mouse) &&
                      view.temporary_shapes == bool(on.temporary_shapes);
    if (same) return;
    panel.pointer_effects = on.pointer_effects;
    panel.magnifier = on.magnifier;
    view.moving_input = moving;
    view.board_visible = app.settings.board_visible;
    view.keyboard = on.keyboard;
    view.mouse = on.mouse;
    view.temporary_shapes = on.temporary_shapes;
    InvalidateRect(settings->window.get(), nullptr, FALSE);
}

Status record_row_key_release(App& app, HWND app_window, std::uint32_t key) {
    const std::uint32_t modifiers = read_hotkey_modifiers();
    if (key != kPrintScreen) {
        show_held_modifiers(app, modifiers);
        return ok_status();
    }
    // Print Screen gives no usable key-down: its release records it.
    (void)record_combination(app.setup, modifiers, kPrintScreen);
    return assign_row_shortcut(app, app_window);
}

}  // namespace glimmerly
