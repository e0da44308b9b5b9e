#include "app/app/tray_menu.h"

#include <dwmapi.h>

#include <algorithm>
#include <utility>

#include "app/app/app.h"
#include "app/app/row_edit.h"
#include "app/app/messages.h"
#include "app/app/popup_paint.h"
#include "app/lib/settings_store.h"
#include "app/win/failure.h"
#include "app/win/system_function.h"
#include "core/menu/popup_placement.h"

namespace glimmerly {
namespace {

constexpr UINT kDefaultMenuShowDelayMs = 400;
constexpr ULONGLONG kReopenBlockMs = 1000;
constexpr DWORD kPopupStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
constexpr COLORREF kBorderColour = 0x00494949;
constexpr DWORD kCornerPreference = 33;  // DWMWA_WINDOW_CORNER_PREFERENCE, newer than the headers
constexpr DWORD kBorderColourAttribute = 34;
constexpr int kRoundSmall = 3;

void post_update(const TrayPopup& p, AppCommand command, std::uint32_t action, std::uint32_t key = 0) {
    PostMessageW(p.owner, WM_APP_MENU_UPDATE, command, static_cast<LPARAM>(action | key << 8));
}

const PopupLayout& layout_of(const TrayPopup& p, int level) { return level ? p.sub_layout : p.main_layout; }
std::optional<std::size_t>& hover_of(TrayPopup& p, int level) { return level ? p.sub_hover : p.main_hover; }
HWND window_of(const TrayPopup& p, int level) { return level ? p.sub_window : p.main_window; }
void invalidate(HWND window) { InvalidateRect(window, nullptr, FALSE); }

PopupLayout empty_layout(double scale) {
    auto laid = layout_popup_rows({}, {}, scale, LANGUAGE_ENGLISH, [](std::string_view, double, bool) -> Result<double> {
        return 0.0;  // no row, nothing is measured
    });
    return laid ? *laid : PopupLayout{};
}

std::optional<PixelRect> work_area_near(const RECT& rect) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info)) return std::nullopt;
    return PixelRect{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

Status place_popup_windows(TrayPopup& p) {
    RECT main{};
    if (!GetWindowRect(p.main_window, &main)) return win::win32_failure("GetWindowRect", L"Glimmerly.Menu");
    const int height = popup_height(p.main_layout);
    GLIM_TRY(place_window(p.main_window, true, 0, 0, p.main_layout.width, height, SWP_NOMOVE | SWP_NOACTIVATE));
    main.right = main.left + p.main_layout.width;
    main.bottom = main.top + height;
    if (!p.submenu_open) return ok_status();
    const std::int32_t top = main.top + p.main_layout.tops[p.submenu_parent] - p.sub_layout.tops.front();
    const PixelRect placed =
        place_submenu({main.left, main.top, main.right, main.bottom}, top, p.sub_layout.width, popup_height(p.sub_layout),
                      p.keep_submenu_on_screen ? work_area_near(main) : std::nullopt);
    return place_window(p.sub_window, true, placed.left, placed.top, placed.width(), placed.height(), SWP_NOACTIVATE);
}

void close_submenu(TrayPopup& p) {
    if (!p.submenu_open) return;
    p.submenu_open = false;
    p.sub_hover.reset();
    p.active_level = 0;
    p.sub_layout = empty_layout(p.scale);
    ShowWindow(p.sub_window, SW_HIDE);
}

Status open_submenu(TrayPopup& p, std::size_t row) {
    if (p.submenu_open && p.submenu_parent == row) return ok_status();
    if (row >= p.main_layout.rows.size()) return ok_status();
    auto laid = layout_popup(row == kLanguageRow ? language_popup_rows() : std::span<const PopupRow>{}, p.bindings,
                             p.scale);
    if (!laid) return std::move(laid).failure();
    p.submenu_open = true;
    p.submenu_parent = row;
    p.sub_hover.reset();
    p.active_level = 0;
    p.sub_layout = std::move(*laid);
    GLIM_TRY(place_popup_windows(p));
    ShowWindow(p.sub_window, SW_SHOWNOACTIVATE);
    invalidate(p.sub_window);
    return ok_status();
}

void close_popup_windows(TrayPopup& p, bool pressed_on_icon) {
    KillTimer(p.main_window, TIMER_POPUP_SUBMENU);
    ShowWindow(p.sub_window, SW_HIDE);
    ShowWindow(p.main_window, SW_HIDE);
    PostMessageW(p.owner, WM_APP_MENU_CLOSED, pressed_on_icon ? 1 : 0, reinterpret_cast<LPARAM>(p.main_window));
}

Status choose_row(TrayPopup& p, int level, std::size_t index, bool keyboard) {
    const PopupLayout& layout = layout_of(p, level);
    if (index >= layout.rows.size()) return ok_status();
    const PopupRow& row = layout.rows[index];
    switch (row.style) {
        case RowStyle::Header:
        case RowStyle::Separator: return ok_status();
        case RowStyle::Command:
            KillTimer(p.main_window, TIMER_POPUP_SUBMENU);
            ShowWindow(p.sub_window, SW_HIDE);
            ShowWindow(p.main_window, SW_HIDE);
            PostMessageW(p.owner, WM_APP_MENU_COMMAND, row.command, 0);
            return ok_status();
        case RowStyle::Toggle:
        case RowStyle::Choice: PostMessageW(p.owner, WM_APP_MENU_COMMAND, row.command, 1); return ok_status();
        case RowStyle::Submenu:
            GLIM_TRY(open_submenu(p, index));
            if (keyboard) {
                p.active_level = 1;
                p.sub_hover = step_hover(p.sub_layout.rows, std::nullopt, true);
                invalidate(p.sub_window);
            }
            return ok_status();
    }
    return ok_status();
}

// Client coordinates are signed 16-bit halves of lParam.
int x_of(LPARAM lparam) { return static_cast<short>(LOWORD(lparam)); }
int y_of(LPARAM lparam) { return static_cast<short>(HIWORD(lparam)); }
double units_x(const TrayPopup& p, LPARAM lparam) { return x_of(lparam) / p.scale; }

void on_mouse_move(TrayPopup& p, int level, HWND window, LPARAM lparam) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
    TrackMouseEvent(&track);
    const PopupLayout& layout = layout_of(p, level);
    const auto row = row_at(layout, y_of(lparam));
    const bool selectable = row && is_selectable(layout.rows[*row].style);
    if (level == 1) {
        KillTimer(p.main_window, TIMER_POPUP_SUBMENU);
        const std::optional<std::size_t> parent =
            p.submenu_open ? std::optional<std::size_t>(p.submenu_parent) : std::nullopt;
        if (p.main_hover != parent) {
            p.main_hover = parent;
            invalidate(p.main_window);
        }
        p.active_level = 1;
        if (selectable && row != p.sub_hover) {
            p.sub_hover = row;
            invalidate(p.sub_window);
        }
        return;
    }
    if (selectable && row != p.main_hover) {
        p.main_hover = row;
        p.active_level = 0;
        invalidate(p.main_window);
        UINT delay = 0;
        if (!SystemParametersInfoW(SPI_GETMENUSHOWDELAY, 0, &delay, 0)) delay = kDefaultMenuShowDelayMs;
        SetTimer(p.main_window, TIMER_POPUP_SUBMENU, std::max<UINT>(delay, 1), nullptr);
    }
    AppCommand hot_row = p.row_state.hot_row;
    std::uint8_t hot_part = kHotNone;
    if (selectable && shortcut_row_of(layout.rows[*row].command)) {
        hot_row = layout.rows[*row].command;
        hot_part = shortcut_hot_part(layout, *row, units_x(p, lparam), p.scale);
    }
    if (hot_row != p.row_state.hot_row || hot_part != p.row_state.hot_part) {
        p.row_state.hot_row = hot_row;
        p.row_state.hot_part = hot_part;
        invalidate(p.main_window);
    }
}

void on_release(TrayPopup& p, int level, LPARAM lparam) {
    const PopupLayout& layout = layout_of(p, level);
    const auto row = row_at(layout, y_of(lparam));
    if (!row || !is_selectable(layout.rows[*row].style)) return;
    const AppCommand command = layout.rows[*row].command;
    if (level == 0 && shortcut_row_of(command)) {
        switch (shortcut_row_click(layout, *row, units_x(p, lparam), p.scale, p.row_state.saved_row == command)) {
            case ShortcutRowClick::RestorePrevious: post_update(p, command, kRowPutPrevious); return;
            case ShortcutRowClick::StartRecording: post_update(p, command, kRowStartRecording); return;
            case ShortcutRowClick::Choose: break;
        }
    }
    (void)choose_row(p, level, *row, false);  // a submenu that cannot open stays as it was
}

void on_key(TrayPopup& p, WPARAM key) {
    p.row_state.hot_part = kHotNone;
    const int level = p.active_level;
    std::optional<std::size_t>& hover = hover_of(p, level);
    switch (key) {
        case VK_RETURN:
        case VK_SPACE:
            if (hover) (void)choose_row(p, level, *hover, true);
            return;
        case VK_ESCAPE:
            if (!p.submenu_open) return close_popup_windows(p, false);
            return close_submenu(p);
        case VK_LEFT:
            if (level == 1 && p.submenu_open) close_submenu(p);
            return;
        case VK_UP:
        case VK_DOWN:
            hover = step_hover(layout_of(p, level).rows, hover, key == VK_DOWN);
            if (level == 0) close_submenu(p);
            invalidate(window_of(p, level));
            return;
        case VK_RIGHT:
            if (level == 0 && p.main_hover == kLanguageRow) (void)choose_row(p, 0, kLanguageRow, true);
            return;
        default: return;
    }
}

// While a row records, keys and clicks belong to the recording.
std::optional<LRESULT> on_recording_message(TrayPopup& p, int level, UINT message, WPARAM wparam, LPARAM lparam) {
    const AppCommand command = command_of(p.row_state.recording->row);
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (lparam & (1 << 30)) return 0;  // a repeat
            if (wparam == VK_ESCAPE)
                post_update(p, command, kRowCancel);
            else if (wparam == VK_BACK)
                post_update(p, command, kRowPutDefault);
            else
                post_update(p, command, kRowKeyDown, static_cast<std::uint32_t>(wparam));
            return 0;
        case WM_KEYUP:
        case WM_SYSKEYUP: post_update(p, command, kRowKeyUp, static_cast<std::uint32_t>(wparam)); return 0;
        case WM_CHAR:
        case WM_SYSCHAR:
        case WM_TIMER:
        case WM_MOUSEMOVE: return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP: {
            const auto row = row_at(layout_of(p, level), y_of(lparam));
            if (level == 0 && row && p.main_layout.rows[*row].command == command) {
                if (const auto action = recording_row_click(p.main_layout, units_x(p, lparam), p.scale))
                    post_update(p, command, *action);
            } else {
                post_update(p, command, kRowCancel);
            }
            return 0;
        }
        default: return std::nullopt;
    }
}

void on_paint(TrayPopup& p, int level, HWND window) {
    win::PaintDc paint(window);
    if (!paint.get()) return;
    const PopupLayout& layout = layout_of(p, level);
    auto canvas = DibCanvas::make(layout.width, popup_height(layout));
    if (!canvas) return;
    // Painted off screen first, so that the rows never flicker through the background.
    if (!paint_popup_rows(layout, canvas->dc(), 0, 0, p.bindings, hover_of(p, level), p.row_state, p.scale)) return;
    BitBlt(paint.get(), 0, 0, layout.width, popup_height(layout), canvas->dc(), 0, 0, SRCCOPY);
}

bool pressed_on(const PixelRect& rect) {
    const bool pressed = (GetAsyncKeyState(VK_LBUTTON) & 0x8000) || (GetAsyncKeyState(VK_RBUTTON) & 0x8000);
    POINT at{};
    return pressed && GetCursorPos(&at) && rect.left <= at.x && at.x < rect.right && rect.top <= at.y &&
           at.y < rect.bottom;
}

std::optional<LRESULT> on_popup_message(TrayPopup& p, int level, HWND window, UINT message, WPARAM wparam,
                                        LPARAM lparam) {
    switch (message) {
        case WM_PAINT: on_paint(p, level, window); return 0;
        case WM_ACTIVATE:
            if (LOWORD(wparam) != WA_INACTIVE) return std::nullopt;
            close_popup_windows(p, pressed_on(p.icon_rect));
            return 0;
        case WM_MOUSELEAVE:
            if (level == 1 || !p.submenu_open) {
                hover_of(p, level).reset();
                invalidate(window);
            }
            return 0;
        default: break;
    }
    if (p.row_state.recording) return on_recording_message(p, level, message, wparam, lparam);
    switch (message) {
        case WM_MOUSEMOVE: on_mouse_move(p, level, window, lparam); return 0;
        case WM_TIMER:
            if (wparam != TIMER_POPUP_SUBMENU) return std::nullopt;
            KillTimer(p.main_window, TIMER_POPUP_SUBMENU);
            if (p.main_hover == kLanguageRow)
                (void)open_submenu(p, kLanguageRow);
            else
                close_submenu(p);
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP: on_release(p, level, lparam); return 0;
        case WM_KEYDOWN: on_key(p, wparam); return 0;
        default: return std::nullopt;
    }
}

Status register_popup_class(HINSTANCE instance) {
    WNDCLASSW window_class{};
    window_class.style = CS_DROPSHADOW;
    window_class.lpfnWndProc = tray_popup_proc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    if (!window_class.hCursor) return win::win32_failure("LoadCursorW");
    window_class.lpszClassName = TRAY_POPUP_CLASS;
    if (!RegisterClassW(&window_class) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return win::win32_failure("RegisterClassW", TRAY_POPUP_CLASS);
    return ok_status();
}

void round_corners(HWND window) {
    const int corners = kRoundSmall;
    const COLORREF border = kBorderColour;
    DwmSetWindowAttribute(window, kCornerPreference, &corners, sizeof corners);
    DwmSetWindowAttribute(window, kBorderColourAttribute, &border, sizeof border);
}

using CalculatePopupWindowPositionFn = BOOL(WINAPI*)(const POINT*, const SIZE*, UINT, RECT*, RECT*);

// The system's placement where user32 has it. Wine's user32 does not
// export it, and a program that imports it does not even load there.
Result<PixelRect> popup_rect(POINT at, int width, int height) {
    const auto calculate =
        win::system_function_as<CalculatePopupWindowPositionFn>(L"user32.dll", "CalculatePopupWindowPosition");
    if (calculate) {
        const SIZE size{width, height};
        RECT placed{};
        if (!calculate(&at, &size, TPM_WORKAREA, nullptr, &placed))
            return win::win32_failure("CalculatePopupWindowPosition");
        return PixelRect{placed.left, placed.top, placed.right, placed.bottom};
    }
    const RECT point{at.x, at.y, at.x + 1, at.y + 1};
    const auto work = work_area_near(point);
    if (!work) return win::win32_failure("GetMonitorInfoW");
    return place_popup({at.x, at.y}, width, height, *work);
}

PixelRect icon_rectangle(const App& app) {
    NOTIFYICONIDENTIFIER icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = app.icon_data.hWnd;
    icon.uID = app.icon_data.uID;
    RECT rect{};
    if (FAILED(Shell_NotifyIconGetRect(&icon, &rect))) return {};
    return {rect.left, rect.top, rect.right, rect.bottom};
}

Result<HWND> create_popup_window(DWORD ex_style, POINT at, HWND owner) {
    HWND window = CreateWindowExW(ex_style, TRAY_POPUP_CLASS, L"Glimmerly menu", WS_POPUP, at.x, at.y, 1, 1, owner,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window) return win::win32_failure("CreateWindowExW", TRAY_POPUP_CLASS);
    return window;
}

// Steps 9 on of opening, with the painter released when they fail before
// the popup is made.
Result<TrayPopupBox> make_popup(App& app, HWND owner, POINT at, const ShortcutBindings& bindings) {
    GLIM_TRY(register_popup_class(GetModuleHandleW(nullptr)));
    auto main = create_popup_window(kPopupStyle, at, nullptr);
    if (!main) return std::move(main).failure();
    win::UniqueWindow main_window(*main);
    auto sub = create_popup_window(WS_EX_NOACTIVATE | kPopupStyle, at, main_window.get());
    if (!sub) return std::move(sub).failure();
    round_corners(main_window.get());
    round_corners(*sub);
    const double scale = std::max<UINT>(GetDpiForWindow(main_window.get()), 96) / 96.0;
    auto main_layout = layout_popup(main_popup_rows(), bindings, scale);
    if (!main_layout) return std::move(main_layout).failure();

    TrayPopup popup;
    popup.main_layout = std::move(*main_layout);
    popup.sub_layout = empty_layout(scale);
    popup.bindings = bindings;
    popup.owner = owner;
    popup.main_window = main_window.release();
    popup.sub_window = *sub;
    popup.icon_rect = icon_rectangle(app);
    popup.scale = scale;
    TrayPopupBox box(new TrayPopupCell(std::move(popup)));
    auto state = box->try_borrow();
    SetWindowLongPtrW(state->main_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(box.get()));
    SetWindowLongPtrW(state->sub_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(box.get()));
    return box;
}

}  // namespace

void TrayPopupCloser::operator()(TrayPopupCell* cell) const noexcept {
    if (!cell) return;
    if (auto popup = cell->try_borrow()) {
        KillTimer(popup->main_window, TIMER_POPUP_SUBMENU);
        SetWindowLongPtrW(popup->sub_window, GWLP_USERDATA, 0);
        SetWindowLongPtrW(popup->main_window, GWLP_USERDATA, 0);
        DestroyWindow(popup->main_window);
    }
    delete cell;
    release_menu_resources();
}

Status place_window(HWND window, bool topmost, int left, int top, int width, int height, UINT flags) {
    if (!SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_TOP, left, top, width, height, flags))
        return win::win32_failure("SetWindowPos");
    return ok_status();
}

Status open_tray_popup(App& app, HWND window) {
    const std::optional<ULONGLONG> closed_at = std::exchange(app.popup_closed_at, std::nullopt);
    if (app.tray_popup) {
        // A popup hides itself when it loses the foreground; its closing message
        // is lost when that happened under a message box of the App's. Hidden,
        // it is closed already, and this release opens a new one.
        auto popup = app.tray_popup->try_borrow();
        const bool shown = popup && IsWindowVisible(popup->main_window);
        popup.release();
        close_tray_popup(app, window);
        if (shown) return ok_status();
    }
    const ULONGLONG now = GetTickCount64();
    if (closed_at && (*closed_at > now || now - *closed_at < kReopenBlockMs)) return ok_status();
    // Other processes write the file while the resident runs (the board its
    // visibility, another copy's settings change): the rows show it as it
    // is now, and a command chosen here starts from it.
    if (app.keeps_settings) GLIM_TRY(reload_settings(app.settings));
    if (!app.presentation) {
        auto attached = attach_presentation_state(window, app.settings);
        if (!attached) return std::move(attached).failure();
        app.presentation = std::move(attached).value();
    }
    auto bindings = shortcut_bindings_snapshot(app);
    if (!bindings) return std::move(bindings).failure();
    POINT at{};
    if (!GetCursorPos(&at)) return win::win32_failure("GetCursorPos");
    if (auto state = app.presentation->try_borrow()) {
        const HWND foreground = GetForegroundWindow();
        if (foreground != window && foreground != shapes_layer_window(*state)) state->previous_foreground = foreground;
    }

    auto made = make_popup(app, window, at, *bindings);
    if (!made) {
        release_menu_resources();
        return std::move(made).failure();
    }
    TrayPopupBox box = std::move(made).value();
    {
        auto popup = box->try_borrow();
        const int width = popup->main_layout.width, height = popup_height(popup->main_layout);
        auto placed = popup_rect(at, width, height);
        if (!placed) return std::move(placed).failure();
        GLIM_TRY(place_window(popup->main_window, true, placed->left, placed->top, width, height, SWP_NOACTIVATE));
        ShowWindow(popup->main_window, SW_SHOW);
        SetForegroundWindow(popup->main_window);
    }
    app.tray_popup = std::move(box);
    return ok_status();
}

Status refresh_tray_popup(TrayPopup& popup, const ShortcutBindings& bindings) {
    popup.bindings = bindings;
    auto main = layout_popup(main_popup_rows(), bindings, popup.scale);
    if (!main) return std::move(main).failure();
    const bool languages = popup.submenu_open && popup.submenu_parent == kLanguageRow;
    Result<PopupLayout> sub = empty_layout(popup.scale);
    if (languages) sub = layout_popup(language_popup_rows(), bindings, popup.scale);
    if (!sub) return std::move(sub).failure();
    popup.main_layout = std::move(*main);
    popup.sub_layout = std::move(*sub);
    GLIM_TRY(place_popup_windows(popup));
    invalidate(popup.main_window);
    invalidate(popup.sub_window);
    return ok_status();
}

void close_tray_popup(App& app, HWND window) {
    // A row that records in the popup ends with it; the settings window's goes on.
    if (active_menu_source(app).source == MenuSource::Popup) (void)choose_menu_row(app, window);
    if (app.saved_before.source == MenuSource::Popup) app.saved_before.state = 2;
    app.tray_popup.reset();
}

LRESULT CALLBACK tray_popup_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    if (message == WM_ERASEBKGND) return 1;
    if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    auto* cell = reinterpret_cast<TrayPopupCell*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!cell) return DefWindowProcW(window, message, wparam, lparam);
    auto popup = cell->try_borrow();
    if (!popup) return DefWindowProcW(window, message, wparam, lparam);
    try {
        const int level = window == popup->sub_window ? 1 : 0;
        if (const auto answer = on_popup_message(*popup, level, window, message, wparam, lparam)) return *answer;
    } catch (...) {
        // Nothing crosses the procedure; the message goes to the default below.
    }
    popup.release();
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace glimmerly
