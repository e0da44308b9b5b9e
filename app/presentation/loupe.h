#pragma once
// The magnifier: a round, topmost, click-through window that follows the
// pointer and shows the windows beneath it enlarged. The compositor draws
// the picture from classic thumbnails cut into round strips; the program
// copies no pixels. Window changes reach it through WinEvent hooks that
// post one message at a time to the application window.

#include <windows.h>
#include <dwmapi.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/base/result.h"
#include "core/presentation/loupe_geometry.h"

namespace glimmerly {

struct PresentationState;
struct ComposedLoupe;

// The composed drawing is released where its type is known.
struct ComposedLoupeDeleter {
    void operator()(ComposedLoupe* composed) const noexcept;
};

inline constexpr wchar_t LOUPE_WINDOW_CLASS[] = L"Glimmerly.Loupe";
inline constexpr wchar_t LOUPE_WINDOW_TITLE[] = L"Glimmerly loupe";

struct LoupeThumbnail {
    HWND source = nullptr;
    HTHUMBNAIL handle = 0;  // 0: the registration failed
};

struct Loupe {
    // Never placed: empty; then the stay-below window of the last placement,
    // itself empty when it was placed with no window to stay below.
    std::optional<std::optional<HWND>> last_stay_below;
    PixelRect last_destination;
    PixelRect last_source;
    std::uint32_t last_zoom = 0;
    std::vector<LoupeCandidate> last_beneath;
    std::vector<HWINEVENTHOOK> hooks;
    // The banded drawing's thumbnails, in registration order.
    std::vector<LoupeThumbnail> thumbnails;
    // The composed drawing; none while the loupe draws in bands.
    std::unique_ptr<ComposedLoupe, ComposedLoupeDeleter> composed;
    // Absent: rebuilt before the next placement.
    std::optional<std::vector<LoupeCandidate>> candidates;
    HWND window = nullptr;
    std::uint32_t drawn_diameter = 0;
    bool shown = false;
    // Placements that drew and moved the window: an unchanged one is not counted.
    std::uint32_t placements_drawn = 0;

    Loupe() = default;
    Loupe(const Loupe&) = delete;
    Loupe& operator=(const Loupe&) = delete;
    // Hooks removed, thumbnails unregistered, the window destroyed.
    ~Loupe();
};

struct LoupeDeleter {
    void operator()(Loupe* loupe) const noexcept;
};
using LoupePointer = std::unique_ptr<Loupe, LoupeDeleter>;

Result<HWND> create_loupe_window(bool without_redirection);
// The owner receives the window-event messages.
Result<LoupePointer> create_loupe(HWND owner);
void destroy_loupe(LoupePointer loupe);

// Creates, moves or drops the state's loupe as the magnifier asks.
Status show_loupe_at_cursor(PresentationState& state);
// Draws and places the loupe for (x, y); nothing when nothing changed.
Status update_loupe_view(Loupe& loupe, std::int32_t x, std::int32_t y, std::int32_t diameter, std::uint32_t zoom,
                         std::optional<HWND> stay_below, const std::vector<HWND>& leave_out);

// Visible, not minimised, not cloaked windows, top-most first.
std::vector<LoupeCandidate> list_loupe_candidates();
// The candidates beneath the source square that may be shown.
std::vector<LoupeCandidate> next_window_beneath(const std::vector<LoupeCandidate>& candidates,
                                                const PixelRect& source, const std::vector<HWND>& leave_out);
void CALLBACK loupe_window_event(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                                 DWORD thread, DWORD time) noexcept;
// The address of dwmapi's export 147 on a system that offers it; looked up once.
FARPROC find_thumbnail_visual_export();
// The first reason is kept and said once on standard error.
void note_loupe_fallback(const std::string& reason);
// Why the loupe draws in round bands, once a reason has been recorded.
std::optional<std::string> band_fallback_reason();
void update_banded_loupe(Loupe& loupe, const PixelRect& destination, const PixelRect& source, std::int32_t zoom,
                         const std::vector<LoupeCandidate>& beneath);
// The frames captured for the composed drawing copied to its surfaces; the
// banded drawing has none.
void drain_loupe_frames(Loupe& loupe);

// The pending flags, for the tests of the one-message-at-a-time rule.
bool loupe_window_event_pending();
// The window-event message was taken: the hook may post the next one.
void clear_loupe_window_event();

}  // namespace glimmerly
