#include "app/presentation/loupe.h"

#include <shellscalingapi.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <limits>
#include <mutex>

#include "app/app/messages.h"
#include "app/presentation/composed_loupe.h"
#include "app/presentation/presentation.h"
#include "app/win/failure.h"
#include "app/win/system_function.h"

namespace glimmerly {
namespace {

constexpr DWORD kLoupeStyle = WS_EX_TOPMOST | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_LAYERED | WS_EX_NOACTIVATE;
constexpr COLORREF kLoupeBackground = 0x202020;

// Read by the WinEvent callback, which has no context argument.
std::atomic<HWND> g_event_window{nullptr};
std::atomic<bool> g_window_event_pending{false};

std::mutex g_fallback_mutex;
std::optional<std::string> g_fallback_reason;
std::once_flag g_export_once;
FARPROC g_thumbnail_visual_export = nullptr;

void destroy_loupe_window(HWND window) noexcept {
    if (!window) return;
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
}

LoupeWindowId id_of(HWND window) { return reinterpret_cast<LoupeWindowId>(window); }
HWND window_of(LoupeWindowId id) { return reinterpret_cast<HWND>(id); }
PixelRect pixel_rect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
RECT win_rect(const PixelRect& r) { return {r.left, r.top, r.right, r.bottom}; }

BOOL CALLBACK collect_window(HWND window, LPARAM list) noexcept {
    try {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

bool cloaked(HWND window) {
    DWORD value = 0;
    return SUCCEEDED(DwmGetWindowAttribute(window, DWMWA_CLOAKED, &value, sizeof value)) && value != 0;
}

std::uint32_t windows_build_number() {
    wchar_t buffer[kBuildNumberBytes / sizeof(wchar_t)]{};
    DWORD size = sizeof buffer;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", L"CurrentBuildNumber",
                     RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return 0;
    const std::size_t units = std::min<std::size_t>(size / sizeof(wchar_t), std::size(buffer));
    return parse_build_number(std::u16string_view(reinterpret_cast<const char16_t*>(buffer), units));
}

// Wine's dwmapi has a stub at 147 that raises when called, and a prefix may
// report any build: under Wine the export counts as missing.
bool running_under_wine() {
    return win::system_function(L"ntdll.dll", "wine_get_version") != nullptr;
}

void look_up_thumbnail_visual_export() {
    const std::uint32_t build = windows_build_number();
    if (build < kComposedLoupeBuild) {
        note_loupe_fallback("Windows build " + std::to_string(build) + ", before " + std::to_string(kComposedLoupeBuild));
        return;
    }
    const FARPROC found = running_under_wine() ? nullptr : win::system_function(L"dwmapi.dll", MAKEINTRESOURCEA(147));
    if (!found) {
        note_loupe_fallback("dwmapi has no export 147");
        return;
    }
    g_thumbnail_visual_export = found;
}

// The composed drawing on a window without a redirection bitmap; a failure
// is recorded as the reason for drawing in bands, and nothing is kept.
struct ComposedStart {
    std::unique_ptr<ComposedLoupe, ComposedLoupeDeleter> composed;
    HWND window = nullptr;
};

ComposedStart try_composed_drawing(HWND owner, FARPROC export_147) {
    auto window = create_loupe_window(true);
    if (!window) {
        note_loupe_fallback("DirectComposition: " + window.failure().message);
        return {};
    }
    auto built = build_composed_loupe(*window, owner, export_147);
    if (!built) {
        note_loupe_fallback("DirectComposition: " + built.failure().message);
        destroy_loupe_window(*window);
        return {};
    }
    ComposedStart start;
    start.composed.reset(built->release());
    start.window = *window;
    return start;
}

// The first composed drawing that fails turns the loupe to bands for good,
// on a new window with a redirection bitmap.
Status fall_back_to_bands(Loupe& loupe, const Failure& failure) {
    note_loupe_fallback("DirectComposition: " + failure.message);
    loupe.composed.reset();
    auto window = create_loupe_window(false);
    if (!window) return std::move(window).failure();
    destroy_loupe_window(std::exchange(loupe.window, *window));
    loupe.drawn_diameter = 0;
    loupe.shown = false;
    return ok_status();
}

// Draws with the composed tree when the loupe has one, else in bands.
Status draw_loupe(Loupe& loupe, const LoupeSquares& squares, const std::vector<LoupeCandidate>& beneath) {
    if (loupe.composed) {
        Status drawn = update_composed_loupe(*loupe.composed, squares.destination, squares.source, squares.zoom, beneath);
        if (drawn) {
            loupe.drawn_diameter = std::uint32_t(squares.destination.width());
            return ok_status();
        }
        GLIM_TRY(fall_back_to_bands(loupe, drawn.failure()));
    }
    update_banded_loupe(loupe, squares.destination, squares.source, squares.zoom, beneath);
    return ok_status();
}

std::int32_t saturated_diameter(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    if (value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

}  // namespace

Loupe::~Loupe() {
    for (HWINEVENTHOOK hook : hooks) UnhookWinEvent(hook);
    hooks.clear();
    g_event_window.store(nullptr);
    for (const LoupeThumbnail& thumbnail : thumbnails)
        if (thumbnail.handle) DwmUnregisterThumbnail(thumbnail.handle);
    thumbnails.clear();
    composed.reset();
    destroy_loupe_window(std::exchange(window, nullptr));
}

void LoupeDeleter::operator()(Loupe* loupe) const noexcept { delete loupe; }
void ComposedLoupeDeleter::operator()(ComposedLoupe* composed) const noexcept { delete composed; }

Result<HWND> create_loupe_window(bool without_redirection) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!instance) return win::win32_failure("GetModuleHandleW");
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = plain_window_proc;
    window_class.hInstance = instance;
    window_class.hbrBackground = CreateSolidBrush(kLoupeBackground);
    window_class.lpszClassName = LOUPE_WINDOW_CLASS;
    if (!RegisterClassW(&window_class)) {
        const DWORD error = GetLastError();
        // The class keeps the brush it was first registered with.
        DeleteObject(window_class.hbrBackground);
        if (error != ERROR_CLASS_ALREADY_EXISTS) return win::win32_failure_code(error, "RegisterClassW", LOUPE_WINDOW_CLASS);
    }
    const DWORD style = kLoupeStyle | (without_redirection ? WS_EX_NOREDIRECTIONBITMAP : 0);
    const HWND window = CreateWindowExW(style, LOUPE_WINDOW_CLASS, LOUPE_WINDOW_TITLE, WS_POPUP, 0, 0, 1, 1, nullptr,
                                        nullptr, instance, nullptr);
    if (!window) return win::win32_failure("CreateWindowExW", LOUPE_WINDOW_CLASS);
    if (!SetLayeredWindowAttributes(window, 0, 255, LWA_ALPHA)) {
        Failure failed = win::win32_failure("SetLayeredWindowAttributes");
        destroy_loupe_window(window);
        return failed;
    }
    return window;
}

Result<LoupePointer> create_loupe(HWND owner) {
    ComposedStart start;
    if (!band_fallback_reason())
        if (const FARPROC export_147 = find_thumbnail_visual_export()) start = try_composed_drawing(owner, export_147);
    if (!start.composed) {
        auto window = create_loupe_window(false);
        if (!window) return std::move(window).failure();
        start.window = *window;
    }
    LoupePointer loupe(new Loupe);
    loupe->composed = std::move(start.composed);
    loupe->window = start.window;
    g_event_window.store(owner);
    g_window_event_pending.store(false);
    struct Range {
        DWORD first, last;
    };
    static constexpr Range kRanges[] = {{EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_MINIMIZEEND},
                                        {EVENT_OBJECT_SHOW, EVENT_OBJECT_REORDER},
                                        {EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_LOCATIONCHANGE}};
    for (const Range& range : kRanges) {
        const HWINEVENTHOOK hook = SetWinEventHook(range.first, range.last, nullptr, loupe_window_event, 0, 0,
                                                   WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
        if (hook) loupe->hooks.push_back(hook);
    }
    return loupe;
}

void destroy_loupe(LoupePointer loupe) { loupe.reset(); }

Status show_loupe_at_cursor(PresentationState& state) {
    if (!state.features.magnifier && !state.magnifier_held) {
        state.loupe.reset();
        return ok_status();
    }
    if (!state.loupe) {
        auto made = create_loupe(state.window);
        if (!made) return std::move(made).failure();
        state.loupe = std::move(*made);
    }
    POINT at{};
    if (!GetCursorPos(&at)) return win::win32_failure("GetCursorPos");
    const HMONITOR monitor = MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST);
    UINT dpi_x = 96, dpi_y = 96;
    if (FAILED(GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &dpi_x, &dpi_y))) dpi_x = 96;
    const std::int32_t diameter =
        saturated_diameter(std::round(double(state.pointer_settings.magnifier_size) * double(dpi_x) / 96.0));
    std::vector<HWND> leave_out;
    std::optional<HWND> stay_below;
    if (state.pointer_layer) {
        leave_out.push_back(state.pointer_layer->window.get());
        stay_below = state.pointer_layer->window.get();
    }
    if (state.device_layer) leave_out.push_back(state.device_layer->window.get());
    return update_loupe_view(*state.loupe, at.x, at.y, diameter, state.pointer_settings.magnifier_zoom, stay_below,
                             leave_out);
}

Status update_loupe_view(Loupe& loupe, std::int32_t x, std::int32_t y, std::int32_t diameter, std::uint32_t zoom,
                         std::optional<HWND> stay_below, const std::vector<HWND>& leave_out_given) {
    const LoupeSquares squares = loupe_squares(x, y, diameter, zoom);
    std::vector<HWND> leave_out = leave_out_given;
    leave_out.push_back(loupe.window);
    if (!loupe.candidates) loupe.candidates = list_loupe_candidates();
    std::vector<LoupeCandidate> beneath = next_window_beneath(*loupe.candidates, squares.source, leave_out);
    if (loupe.last_stay_below && loupe.shown && loupe.last_destination == squares.destination &&
        loupe.last_source == squares.source && loupe.last_zoom == std::uint32_t(squares.zoom) &&
        *loupe.last_stay_below == stay_below && loupe.last_beneath == beneath)
        return ok_status();
    GLIM_TRY(draw_loupe(loupe, squares, beneath));
    loupe.last_stay_below = stay_below;
    loupe.last_destination = squares.destination;
    loupe.last_source = squares.source;
    loupe.last_zoom = std::uint32_t(squares.zoom);
    loupe.last_beneath = std::move(beneath);
    ++loupe.placements_drawn;
    const std::int32_t side = squares.destination.width();
    const UINT flags = SWP_NOACTIVATE | (loupe.shown ? 0 : SWP_SHOWWINDOW);
    if (!SetWindowPos(loupe.window, stay_below ? *stay_below : HWND_TOPMOST, squares.destination.left,
                      squares.destination.top, side, side, flags))
        return win::win32_failure("SetWindowPos", LOUPE_WINDOW_TITLE);
    loupe.shown = true;
    return ok_status();
}

std::vector<LoupeCandidate> list_loupe_candidates() {
    std::vector<HWND> windows;
    EnumWindows(collect_window, reinterpret_cast<LPARAM>(&windows));
    std::vector<LoupeCandidate> candidates;
    for (const HWND window : windows) {
        if (!IsWindowVisible(window) || IsIconic(window) || cloaked(window)) continue;
        RECT rect{};
        if (!GetWindowRect(window, &rect)) continue;
        candidates.push_back({id_of(window), pixel_rect(rect)});
    }
    return candidates;
}

std::vector<LoupeCandidate> next_window_beneath(const std::vector<LoupeCandidate>& candidates,
                                                const PixelRect& source, const std::vector<HWND>& leave_out) {
    std::vector<LoupeCandidate> beneath;
    for (const LoupeCandidate& candidate : candidates) {
        const HWND window = window_of(candidate.window);
        if (std::find(leave_out.begin(), leave_out.end(), window) != leave_out.end()) continue;
        if (!rects_overlap(candidate.rect, source)) continue;
        DWORD affinity = 0;
        if (!GetWindowDisplayAffinity(window, &affinity) || affinity != WDA_NONE) continue;
        beneath.push_back(candidate);
    }
    return beneath;
}

void CALLBACK loupe_window_event(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) noexcept {
    if (!window || object != OBJID_WINDOW || child != CHILDID_SELF) return;
    const HWND target = g_event_window.load();
    if (!target) return;
    if (g_window_event_pending.exchange(true)) return;
    // A post that fails would leave the flag set and silence every later
    // event: the next event tries again instead.
    if (!PostMessageW(target, WM_APP_LOUPE_WINDOW_EVENT, 0, 0)) g_window_event_pending.store(false);
}

Status refresh_loupe_sources(PresentationState& state) {
    g_window_event_pending.store(false);
    if (!state.loupe) return ok_status();
    state.loupe->candidates.reset();
    return show_loupe_at_cursor(state);
}

FARPROC find_thumbnail_visual_export() {
    std::call_once(g_export_once, look_up_thumbnail_visual_export);
    return g_thumbnail_visual_export;
}

void note_loupe_fallback(const std::string& reason) {
    std::lock_guard lock(g_fallback_mutex);
    if (g_fallback_reason) return;
    g_fallback_reason = reason;
    std::fprintf(stderr, "Loupe: %s; drawn in round bands instead\n", reason.c_str());
    std::fflush(stderr);
}

std::optional<std::string> band_fallback_reason() {
    std::lock_guard lock(g_fallback_mutex);
    return g_fallback_reason;
}

void update_banded_loupe(Loupe& loupe, const PixelRect& destination, const PixelRect& source, std::int32_t zoom,
                         const std::vector<LoupeCandidate>& beneath) {
    const std::int32_t d = destination.width();
    if (std::uint32_t(d) != loupe.drawn_diameter) {
        // The window owns the region once it is set.
        if (const HRGN region = CreateEllipticRgn(0, 0, d + 1, d + 1))
            if (!SetWindowRgn(loupe.window, region, TRUE)) DeleteObject(region);
    }
    const auto strips = loupe_strips(source, destination, zoom);
    const auto placements = loupe_placements(source, zoom, strips, beneath);
    bool same = placements.size() == loupe.thumbnails.size();
    for (std::size_t i = 0; same && i < placements.size(); ++i)
        same = window_of(placements[i].window) == loupe.thumbnails[i].source;
    if (!same) {
        for (const LoupeThumbnail& thumbnail : loupe.thumbnails)
            if (thumbnail.handle) DwmUnregisterThumbnail(thumbnail.handle);
        loupe.thumbnails.clear();
        for (const LoupePlacement& placement : placements) {
            HTHUMBNAIL handle = 0;
            if (FAILED(DwmRegisterThumbnail(loupe.window, window_of(placement.window), &handle))) handle = 0;
            loupe.thumbnails.push_back({window_of(placement.window), handle});
        }
    }
    for (std::size_t i = 0; i < placements.size(); ++i) {
        if (!loupe.thumbnails[i].handle) continue;
        DWM_THUMBNAIL_PROPERTIES properties{};
        properties.dwFlags = DWM_TNP_RECTDESTINATION | DWM_TNP_RECTSOURCE | DWM_TNP_VISIBLE |
                             DWM_TNP_SOURCECLIENTAREAONLY;
        properties.rcDestination = win_rect(placements[i].destination);
        properties.rcSource = win_rect(placements[i].source);
        properties.opacity = 255;
        properties.fVisible = TRUE;
        properties.fSourceClientAreaOnly = FALSE;
        (void)DwmUpdateThumbnailProperties(loupe.thumbnails[i].handle, &properties);
    }
    loupe.drawn_diameter = std::uint32_t(d);
}

void drain_loupe_frames(Loupe& loupe) {
    clear_loupe_frame_pending();
    if (loupe.composed) drain_composed_loupe_frames(*loupe.composed);
}

bool loupe_window_event_pending() { return g_window_event_pending.load(); }

void clear_loupe_window_event() { g_window_event_pending.store(false); }

}  // namespace glimmerly
