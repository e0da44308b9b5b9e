#pragma once
// The spotlight: one layered, click-through, topmost window over the whole
// virtual screen that darkens everything but a soft hole at the pointer.
// Its picture is painted by the platform-free spotlight painter; only the
// boxes a frame changed are pushed.

#include <windows.h>

#include <memory>
#include <optional>

#include "app/app/tray_icon.h"
#include "app/image/screen_grab.h"
#include "core/base/result.h"
#include "core/pointer/pointer_settings.h"
#include "core/pointer/spotlight_paint.h"

namespace glimmerly {

inline constexpr wchar_t SPOTLIGHT_WINDOW_CLASS[] = L"Glimmerly.Spotlight";
inline constexpr wchar_t SPOTLIGHT_WINDOW_TITLE[] = L"Glimmerly spotlight";

// A window procedure that hands every message to DefWindowProcW; the
// spotlight's window answers nothing itself.
LRESULT CALLBACK plain_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept;

// The picture goes before the window: the window must not be shown a
// picture that is being taken apart.
struct SpotlightWindow {
    OwnedWindow window;
    std::optional<DibSurface> surface;
    SpotlightCanvas canvas;
    PixelRect rect;  // the virtual screen when the window was made
    bool shown = false;
};

Result<std::unique_ptr<SpotlightWindow>> create_spotlight_window();

// One frame: hidden when `show` is false, else the hole at the cursor
// (screen pixels) pushed where it changed. `scale` is the dpi / 96 of the
// pointer's monitor.
Status draw_spotlight(SpotlightWindow& spotlight, bool show, std::int32_t cursor_x, std::int32_t cursor_y,
                      const PointerSettings& settings, double scale);

}  // namespace glimmerly
