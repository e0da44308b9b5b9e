#include "app/board/desktop_render.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "app/image/screen_grab.h"
#include "app/win/failure.h"

namespace glimmerly {

Status render_desktop_window(DesktopPicture& picture) {
    const HWND desktop = FindWindowW(L"Progman", nullptr);
    if (!desktop) return win::win32_failure("FindWindowW", L"Progman");
    RECT rect{};
    if (!GetWindowRect(desktop, &rect)) return win::win32_failure("GetWindowRect", L"Progman");
    if (rect.right <= rect.left || rect.bottom <= rect.top) return plain_failure("The desktop window has no area");
    const auto width = static_cast<std::uint32_t>(rect.right - rect.left);
    const auto height = static_cast<std::uint32_t>(rect.bottom - rect.top);
    auto surface = create_dib_surface(width, height);
    if (!surface) return std::move(surface).failure();
    // PW_RENDERFULLCONTENT: the desktop's icons are drawn by DirectComposition.
    if (!PrintWindow(desktop, surface->memory.get(), 2)) return plain_failure("The desktop could not be rendered");
    GdiFlush();
    BgraImage drawn;
    drawn.width = width;
    drawn.height = height;
    drawn.pixels.assign(surface->bits, surface->bits + std::size_t{width} * height * 4);
    bool any = false;
    for (std::size_t i = 0; i < drawn.pixels.size(); i += 4) {
        any = any || drawn.pixels[i] || drawn.pixels[i + 1] || drawn.pixels[i + 2];
        drawn.pixels[i + 3] = 0xFF;
    }
    if (!any) return plain_failure("The desktop rendering is empty");
    paste_bgra_image(picture.image, drawn, rect.left - picture.x, rect.top - picture.y);
    return ok_status();
}

}  // namespace glimmerly
