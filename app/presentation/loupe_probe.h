#pragma once
// The instruments the loupe self-check puts on the desktop: opaque layered
// probe windows of a known picture (the coordinate pattern, or one colour),
// a normal framed window showing the pattern in its client area, the waits
// for the compositor, the message pump that keeps the loupe's window list
// fresh, and the search for a loupe window that outlived its loupe.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>

#include "app/app/tray_icon.h"
#include "app/image/screen_grab.h"
#include "app/presentation/loupe.h"
#include "core/base/pixel_rect.h"
#include "core/base/result.h"
#include "core/base/rgb.h"
#include "core/diagnostics/loupe_analysis.h"

namespace glimmerly {

inline constexpr wchar_t LOUPE_PROBE_CLASS[] = L"Glimmerly.LoupeProbe";
inline constexpr wchar_t LOUPE_PROBE_TITLE[] = L"Glimmerly loupe probe";
inline constexpr wchar_t LOUPE_FRAMED_CLASS[] = L"Glimmerly.LoupeFramed";
inline constexpr wchar_t LOUPE_FRAMED_TITLE[] = L"Glimmerly loupe framed probe";

// No activation, layered, tool window, click-through, topmost.
inline constexpr DWORD kTopmostProbeStyle =
    WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_TOPMOST;
// The same below the topmost band, so that the taskbar stays over it.
inline constexpr DWORD kProbeStyle = WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT;

inline constexpr Rgb kMagentaProbe{255, 0, 255};
inline constexpr Rgb kGreenProbe{0, 255, 0};
inline constexpr Rgb kTaskbarProbe{0x46, 0x6E, 0xA0};
inline constexpr Rgb kPlainLatencyWindow{0x38, 0x22, 0x0C};

// The window goes before its picture: UpdateLayeredWindow copied the pixels
// long ago, and a surface released first would leave a shown window behind
// whose DIB no longer exists.
struct ProbeWindow {
    std::optional<DibSurface> surface;
    OwnedWindow window;
};

// The colour of each pixel, by screen position.
using ProbeFill = std::function<Rgb(std::int32_t x, std::int32_t y)>;

// A fully opaque layered window over `rect`, shown without activation.
Result<ProbeWindow> create_probe_window(const PixelRect& rect, DWORD extended_style, const ProbeFill& fill);
Result<ProbeWindow> create_magenta_probe(const PixelRect& rect);
Result<ProbeWindow> create_green_probe(const PixelRect& rect);
void destroy_probe_window(ProbeWindow probe);

// A captioned, bordered window whose client area shows the pattern of its
// own screen position; painted before it returns.
Result<OwnedWindow> create_framed_probe(const PixelRect& rect);
LRESULT CALLBACK framed_probe_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept;

// Keeps the window out of screen captures; false where the system cannot:
// resolved at run time, so that a user32 without the call still loads the
// program, and a refusal leaves the check untested rather than ending it.
bool exclude_from_capture(HWND window);

// Waits for the compositor twice: once for the frame being composed, once
// for the one that shows the last change. Failures are ignored.
void flush_dwm_twice();

// Takes every waiting message of the thread; the loupe then lists the
// windows beneath it again at its next view.
void pump_probe_messages(Loupe& loupe);

// The next top-level loupe window after `after` (or the first); a failure
// with the last error when there is none.
Result<HWND> find_loupe_window(HWND after);

// The monitor the check works on: the right-most secondary one when there
// is one.
PixelRect choose_probe_monitor();

// Whether the loupe draws from captured frames (with a soft rim), and how
// many windows it captures; a loupe in round bands has no frames.
bool loupe_has_capture_frames(const Loupe& loupe);
std::uint64_t loupe_capture_window_count(const Loupe& loupe);

inline GrabView grab_view(const ScreenGrab& grab) { return {grab.image, grab.x, grab.y}; }

}  // namespace glimmerly
