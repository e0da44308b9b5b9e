#include "app/app/notice.h"

#include <algorithm>
#include <cmath>

#include "app/app/app.h"
#include "app/app/messages.h"
#include "app/win/failure.h"

namespace glimmerly {
namespace {

constexpr DWORD kNoticeExStyle =
    WS_EX_TOPMOST | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_LAYERED | WS_EX_NOACTIVATE;
constexpr LONG_PTR kAnchoredBit = 0x10000;
constexpr int kDesignHeight = 56;
constexpr int kTextHeight = 14;
constexpr COLORREF kFill = 0x262626;
constexpr COLORREF kBorder = 0x494949;
constexpr COLORREF kText = 0xF0F0F0;
constexpr DWORD kWdaExcludeFromCapture = 0x11;

struct Life {
    int ticks;       // of 30 ms
    int fade_ticks;  // at the end
    BYTE opacity;
};
constexpr Life kFreeLife{70, 10, 255};
constexpr Life kAnchoredLife{25, 6, 89};

int scale(int value, UINT dpi) { return MulDiv(value, static_cast<int>(dpi), 96); }

UINT window_dpi(HWND window) { return std::max<UINT>(GetDpiForWindow(window), 96); }

win::UniqueFont notice_font(int pixel_height) {
    return win::UniqueFont(CreateFontW(-pixel_height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH,
                                       L"Segoe UI"));
}

SIZE measure_notice_text(const std::wstring& text, int pixel_height) {
    SIZE extent{};
    win::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    win::UniqueFont font = notice_font(pixel_height);
    if (!dc || !font) return extent;
    win::SelectedObject selected(dc.get(), font.get());
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
    return extent;
}

void draw_notice_text(HDC dc, const std::wstring& text, RECT rect, int pixel_height) {
    win::UniqueFont font = notice_font(pixel_height);
    win::SelectedObject selected(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kText);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
}

void paint_bubble(HDC dc, RECT box, int corner, const std::wstring& text, RECT text_box, int text_height) {
    win::UniqueBrush fill(CreateSolidBrush(kFill));
    win::UniquePen border(CreatePen(PS_SOLID, 1, kBorder));
    win::SelectedObject brush(dc, fill.get());
    win::SelectedObject pen(dc, border.get());
    RoundRect(dc, box.left, box.top, box.right, box.bottom, corner, corner);
    draw_notice_text(dc, text, text_box, text_height);
}

std::wstring window_title(HWND window) {
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    return title;
}

void paint_notice(HWND window) {
    win::PaintDc paint(window);
    if (!paint.get()) return;
    RECT client{};
    GetClientRect(window, &client);
    const std::wstring text = window_title(window);
    const UINT dpi = window_dpi(window);
    if (GetWindowLongPtrW(window, GWLP_USERDATA) & kAnchoredBit) {
        paint_bubble(paint.get(), client, scale(8, dpi), text, client, scale(kTextHeight, dpi));
        return;
    }
    // A free notice is drawn in design units and scaled to its pixels.
    const int design_width = notice_window_width(win::to_utf8(text), dpi);
    const int saved = SaveDC(paint.get());
    SetMapMode(paint.get(), MM_ANISOTROPIC);
    SetWindowExtEx(paint.get(), design_width, kDesignHeight, nullptr);
    SetViewportExtEx(paint.get(), client.right, client.bottom, nullptr);
    paint_bubble(paint.get(), RECT{0, 0, design_width, kDesignHeight}, 12, text,
                 RECT{16, 0, design_width - 16, kDesignHeight}, kTextHeight);
    RestoreDC(paint.get(), saved);
}

void tick_notice(HWND window) {
    const LONG_PTR state = GetWindowLongPtrW(window, GWLP_USERDATA);
    const bool anchored = state & kAnchoredBit;
    const Life& life = anchored ? kAnchoredLife : kFreeLife;
    const int tick = std::min(static_cast<int>(state & 0xFFFF) + 1, life.ticks);
    SetWindowLongPtrW(window, GWLP_USERDATA, tick | (state & kAnchoredBit));
    if (tick >= life.ticks) {
        KillTimer(window, TIMER_NOTICE);
        ShowWindow(window, SW_HIDE);
        return;
    }
    if (tick > life.ticks - life.fade_ticks) {
        const BYTE opacity = static_cast<BYTE>(life.opacity * (life.ticks - tick) / life.fade_ticks);
        SetLayeredWindowAttributes(window, 0, opacity, LWA_ALPHA);
    }
}

LRESULT CALLBACK notice_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    try {
        switch (message) {
            case WM_PAINT: paint_notice(window); return 0;
            case WM_TIMER:
                if (wparam != TIMER_NOTICE) break;
                tick_notice(window);
                return 0;
            case WM_CLOSE:
                KillTimer(window, TIMER_NOTICE);
                ShowWindow(window, SW_HIDE);
                return 0;
            case WM_ERASEBKGND: return 1;
            case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
            case WM_NCHITTEST: return HTTRANSPARENT;
            default: break;
        }
        return DefWindowProcW(window, message, wparam, lparam);
    } catch (...) {
        return 0;
    }
}

Status register_notice_class(HINSTANCE instance) {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = notice_window_proc;
    window_class.hInstance = instance;
    window_class.lpszClassName = NOTICE_WINDOW_CLASS;
    if (!RegisterClassW(&window_class) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return win::win32_failure("RegisterClassW", "Glimmerly.Confirmation");
    return ok_status();
}

// Sizes, shapes and shows a new notice window.
Status place_notice(HWND window, const std::wstring& text, RECT area, bool anchored, bool show) {
    const UINT dpi = window_dpi(window);
    const int area_width = area.right - area.left;
    int width;
    int height;
    if (anchored) {
        const SIZE extent = measure_notice_text(text, scale(kTextHeight, dpi));
        width = extent.cx + scale(24, dpi);
        height = extent.cy + scale(16, dpi);
    } else {
        width = static_cast<int>(std::ceil(notice_window_width(win::to_utf8(text), dpi) * dpi / 96.0));
        height = scale(kDesignHeight, dpi);
    }
    width = std::min(width, area_width);
    const int x = area.left + (area_width - width) / 2;
    const int y = anchored ? area.top + scale(24, dpi) : area.bottom - scale(24, dpi) - height;
    if (!SetWindowPos(window, HWND_TOPMOST, x, y, width, height, SWP_NOACTIVATE))
        return win::win32_failure("SetWindowPos", "notice");
    const int corner = scale(12, dpi);
    win::UniqueRegion region(CreateRoundRectRgn(0, 0, width + 1, height + 1, corner, corner));
    if (!region) return win::win32_failure("CreateRoundRectRgn");
    if (!SetWindowRgn(window, region.get(), FALSE)) return win::win32_failure("SetWindowRgn");
    (void)region.release();  // the window owns it now
    // Absent on older systems and under Wine: the notice then shows in screenshots.
    SetWindowDisplayAffinity(window, kWdaExcludeFromCapture);
    const Life& life = anchored ? kAnchoredLife : kFreeLife;
    SetWindowLongPtrW(window, GWLP_USERDATA, anchored ? kAnchoredBit : 0);
    if (!SetLayeredWindowAttributes(window, 0, life.opacity, LWA_ALPHA))
        return win::win32_failure("SetLayeredWindowAttributes");
    if (!SetTimer(window, TIMER_NOTICE, 30, nullptr)) return win::win32_failure("SetTimer", "notice");
    if (show) ShowWindow(window, SW_SHOWNOACTIVATE);
    return ok_status();
}

}  // namespace

int notice_window_width(std::string_view text, UINT dpi) {
    dpi = std::max<UINT>(dpi, 96);
    const SIZE extent =
        measure_notice_text(win::to_wide(text), static_cast<int>((kTextHeight * dpi + 95) / 96));
    const int design = static_cast<int>(std::ceil(extent.cx * 96.0 / dpi));
    return std::clamp(design + 32, 360, 640);
}

Result<TrayHostWindow> create_notice_window(std::string_view text, bool show, const std::optional<RECT>& anchor) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    GLIM_TRY(register_notice_class(instance));
    RECT area{};
    if (anchor) {
        area = *anchor;
    } else {
        POINT cursor{};
        GetCursorPos(&cursor);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (!GetMonitorInfoW(MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST), &monitor))
            return win::win32_failure("GetMonitorInfoW");
        area = monitor.rcWork;
    }
    const std::wstring wide = win::to_wide(text);
    TrayHostWindow window(CreateWindowExW(kNoticeExStyle, NOTICE_WINDOW_CLASS, wide.c_str(), WS_POPUP, area.left,
                                          area.top, 360, kDesignHeight, nullptr, nullptr, instance, nullptr));
    if (!window) return win::win32_failure("CreateWindowExW", "notice");
    GLIM_TRY(place_notice(window.get(), wide, area, anchor.has_value(), show));
    return window;
}

void replace_app_notice(App& app, std::string_view text) {
    auto made = create_notice_window(text, true, std::nullopt);
    app.notice = made ? std::move(made).value() : TrayHostWindow();
}

}  // namespace glimmerly
