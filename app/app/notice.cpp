#include "app/app/notice.h"

#include <algorithm>

#include "app/app/app.h"
#include "app/win/failure.h"
#include "text/text_table.h"

namespace glimmerly {
namespace {

constexpr COLORREF kFill = 0x262626;
constexpr COLORREF kBorder = 0x494949;
constexpr COLORREF kText = 0xF0F0F0;
constexpr DWORD kNoticeStyleEx =
    WS_EX_TOPMOST | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_LAYERED | WS_EX_NOACTIVATE;
constexpr DWORD kExcludeFromCapture = 0x11;  // WDA_EXCLUDEFROMCAPTURE; older headers lack it

UINT window_dpi(HWND window) { return std::max<UINT>(GetDpiForWindow(window), 96); }

win::UniqueFont notice_font(int pixel_height) {
    return win::UniqueFont(CreateFontW(-pixel_height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                       DEFAULT_PITCH | FF_DONTCARE, L"Segoe UI"));
}

Result<SIZE> text_extent(HDC dc, std::wstring_view text, int height) {
    const win::UniqueFont font = notice_font(height);
    if (!font) return win::win32_failure("CreateFontW");
    const win::SelectedObject selected(dc, font.get());
    SIZE size{};
    if (!GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size))
        return win::win32_failure("GetTextExtentPoint32W");
    return size;
}

void draw_notice_text(HDC dc, std::wstring_view text, RECT rect, int pixel_height) {
    const win::UniqueFont font = notice_font(pixel_height);
    const win::SelectedObject selected(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kText);
    DrawTextW(dc, text.data(), static_cast<int>(text.size()), &rect,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
}

void paint_rounded_box(HDC dc, int width, int height, int corner) {
    const win::UniqueBrush fill(CreateSolidBrush(kFill));
    const win::UniquePen border(CreatePen(PS_SOLID, 1, kBorder));
    const win::SelectedObject brush(dc, fill.get());
    const win::SelectedObject pen(dc, border.get());
    RoundRect(dc, 0, 0, width, height, corner, corner);
}

}  // namespace

// An anchored notice, in pixels.
void paint_notice_bubble(HDC dc, int width, int height, std::wstring_view text, UINT dpi) {
    paint_rounded_box(dc, width, height, notice_pixels(NOTICE_ANCHORED_PAINTED_CORNER, dpi));
    draw_notice_text(dc, text, RECT{0, 0, width, height}, notice_pixels(NOTICE_TEXT_HEIGHT, dpi));
}

// A free notice, drawn in design units and stretched to the window, so that
// its proportions are the same at every scale.
void paint_notice_bubble_scaled(HDC dc, int design_width, int width, int height, std::wstring_view text) {
    const int saved = SaveDC(dc);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, design_width, NOTICE_DESIGN_HEIGHT, nullptr);
    SetViewportExtEx(dc, width, height, nullptr);
    paint_rounded_box(dc, design_width, NOTICE_DESIGN_HEIGHT, NOTICE_FREE_PAINTED_CORNER);
    draw_notice_text(dc, text, RECT{16, 0, design_width - 16, NOTICE_DESIGN_HEIGHT}, NOTICE_TEXT_HEIGHT);
    if (saved) RestoreDC(dc, saved);
}

namespace {

std::wstring title_of(HWND window) {
    wchar_t text[256] = {};
    const int length = GetWindowTextW(window, text, 256);
    return std::wstring(text, static_cast<std::size_t>(std::max(length, 0)));
}

void on_paint(HWND window) {
    const win::PaintDc paint(window);
    if (!paint.get()) return;
    RECT client{};
    GetClientRect(window, &client);
    const std::wstring text = title_of(window);
    const UINT dpi = window_dpi(window);
    if (GetWindowLongPtrW(window, GWLP_USERDATA) & NOTICE_ANCHORED_BIT) {
        paint_notice_bubble(paint.get(), client.right, client.bottom, text, dpi);
    } else {
        const auto design = notice_window_width(text, dpi);
        paint_notice_bubble_scaled(paint.get(), design.value_or(NOTICE_MIN_DESIGN_WIDTH), client.right,
                                   client.bottom, text);
    }
}

void on_tick(HWND window) {
    const LONG_PTR state = GetWindowLongPtrW(window, GWLP_USERDATA);
    const bool anchored = state & NOTICE_ANCHORED_BIT;
    const std::uint32_t tick =
        std::min<std::uint32_t>(static_cast<std::uint32_t>(state & 0xFFFF) + 1, notice_timing(anchored).life);
    SetWindowLongPtrW(window, GWLP_USERDATA, static_cast<LONG_PTR>(tick) | (state & NOTICE_ANCHORED_BIT));
    if (const auto opacity = notice_opacity(tick, anchored)) {
        SetLayeredWindowAttributes(window, 0, *opacity, LWA_ALPHA);
        return;
    }
    KillTimer(window, TIMER_NOTICE);
    ShowWindow(window, SW_HIDE);
}

LRESULT on_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_PAINT: on_paint(window); return 0;
        case WM_TIMER:
            if (wparam != TIMER_NOTICE) break;
            on_tick(window);
            return 0;
        case WM_CLOSE:  // hidden, not destroyed: its owner holds it
            KillTimer(window, TIMER_NOTICE);
            ShowWindow(window, SW_HIDE);
            return 0;
        case WM_ERASEBKGND: return 1;
        case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
        case WM_NCHITTEST: return HTTRANSPARENT;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

Status register_notice_class() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = notice_window_proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = NOTICE_WINDOW_CLASS;
    if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return win::win32_failure("RegisterClassW", L"Glimmerly.Confirmation");
    return ok_status();
}

// The work area of the monitor under the pointer.
Result<PixelRect> work_area_under_pointer() {
    POINT cursor{};
    if (!GetCursorPos(&cursor)) return win::win32_failure("GetCursorPos");
    MONITORINFO monitor{sizeof monitor};
    if (!GetMonitorInfoW(MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST), &monitor))
        return win::win32_failure("GetMonitorInfoW");
    const RECT& r = monitor.rcWork;
    return PixelRect{r.left, r.top, r.right, r.bottom};
}

Result<PixelRect> notice_rect(std::wstring_view text, UINT dpi, const PixelRect& area, bool anchored) {
    if (anchored) {
        auto extent = measure_notice_text(text, notice_pixels(NOTICE_TEXT_HEIGHT, dpi));
        if (!extent) return std::move(extent).failure();
        return anchored_notice_rect(area, extent->cx, extent->cy, dpi);
    }
    auto design = notice_window_width(text, dpi);
    if (!design) return std::move(design).failure();
    return free_notice_rect(area, *design, dpi);
}

}  // namespace

Result<SIZE> measure_notice_text(std::wstring_view text, int pixel_height) {
    const win::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return win::win32_failure("CreateCompatibleDC");
    return text_extent(dc.get(), text, pixel_height);
}

Result<std::int32_t> notice_window_width(std::wstring_view text, UINT dpi) {
    dpi = std::max<UINT>(dpi, 96);
    auto in_pixels = measure_notice_text(text, static_cast<int>((NOTICE_TEXT_HEIGHT * dpi + 95) / 96));
    if (!in_pixels) return std::move(in_pixels).failure();
    // Measured again in design units, as the scaled painting draws it: font
    // sizes round differently at the two scales, and the wider one must fit.
    const win::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return win::win32_failure("CreateCompatibleDC");
    SetMapMode(dc.get(), MM_ANISOTROPIC);
    SetWindowExtEx(dc.get(), 96, NOTICE_DESIGN_HEIGHT, nullptr);
    SetViewportExtEx(dc.get(), static_cast<int>(dpi), notice_pixels(NOTICE_DESIGN_HEIGHT, dpi), nullptr);
    auto in_design = text_extent(dc.get(), text, NOTICE_TEXT_HEIGHT);
    if (!in_design) return std::move(in_design).failure();
    return notice_design_width(in_pixels->cx, dpi, in_design->cx);
}

Result<NoticeWindow> create_notice_window(std::wstring_view text, bool show, std::optional<PixelRect> anchor) {
    GLIM_TRY(register_notice_class());
    PixelRect area{};
    if (anchor) {
        area = *anchor;
    } else {
        auto work = work_area_under_pointer();
        if (!work) return std::move(work).failure();
        area = *work;
    }
    const std::wstring title(text);
    NoticeWindow window(CreateWindowExW(kNoticeStyleEx, NOTICE_WINDOW_CLASS, title.c_str(), WS_POPUP, area.left,
                                        area.top, NOTICE_MIN_DESIGN_WIDTH, NOTICE_DESIGN_HEIGHT, nullptr, nullptr,
                                        GetModuleHandleW(nullptr), nullptr));
    if (!window) return win::win32_failure("CreateWindowExW", L"Glimmerly.Confirmation");
    // Marked before anything can paint, so the first paint knows its kind.
    if (anchor) SetWindowLongPtrW(window.get(), GWLP_USERDATA, NOTICE_ANCHORED_BIT);

    const UINT dpi = window_dpi(window.get());
    auto rect = notice_rect(text, dpi, area, anchor.has_value());
    if (!rect) return std::move(rect).failure();
    if (!SetWindowPos(window.get(), HWND_TOPMOST, rect->left, rect->top, rect->width(), rect->height(),
                      SWP_NOACTIVATE))
        return win::win32_failure("SetWindowPos");
    const int corner = notice_pixels(NOTICE_REGION_CORNER, dpi);
    win::UniqueRegion region(CreateRoundRectRgn(0, 0, rect->width() + 1, rect->height() + 1, corner, corner));
    if (!region) return win::win32_failure("CreateRoundRectRgn");
    if (!SetWindowRgn(window.get(), region.get(), FALSE)) return win::win32_failure("SetWindowRgn");
    (void)region.release();  // the window's now
    // Never in a screenshot; not available everywhere (Wine), and harmless to miss.
    SetWindowDisplayAffinity(window.get(), kExcludeFromCapture);
    if (!SetLayeredWindowAttributes(window.get(), 0, notice_timing(anchor.has_value()).opacity, LWA_ALPHA))
        return win::win32_failure("SetLayeredWindowAttributes");
    if (!SetTimer(window.get(), TIMER_NOTICE, NOTICE_TICK_MS, nullptr)) return win::win32_failure("SetTimer");
    if (show) ShowWindow(window.get(), SW_SHOWNOACTIVATE);
    return window;
}

void replace_notice(NoticeWindow& current, NoticeKind kind) {
    const std::optional<TextId> id = notice_text(kind);
    if (!id) return;
    replace_notice_text(current, win::to_wide(localized_text(current_language(), *id)));
}

void replace_notice_text(NoticeWindow& current, std::wstring_view text) {
    auto made = create_notice_window(text, true, std::nullopt);
    current = made ? std::move(*made) : NoticeWindow();
}

void show_notice(App& app, NoticeKind kind) {
    if (app.in_process_editor && app.notification_owner) {
        PostMessageW(app.notification_owner, WM_APP_NOTICE, GetCurrentProcessId(), kind);
        return;
    }
    if ((app.in_process_editor || !app.keeps_settings) && !app.capture_session) return;
    replace_notice(app.notice, kind);
}

void show_requested_notice(App& app, WPARAM process_id, LPARAM kind) {
    if (!app.editor || app.editor->process_id != process_id || kind < 1 || kind > 6) return;
    show_notice(app, static_cast<NoticeKind>(kind));
}

LRESULT CALLBACK notice_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    try {
        return on_message(window, message, wparam, lparam);
    } catch (...) {
        return DefWindowProcW(window, message, wparam, lparam);
    }
}

}  // namespace glimmerly
