#include "app/session/screen_grab.h"

#include <cstring>

#include "app/win/failure.h"

namespace glimmerly {

Result<DibSurface> create_dib_surface(std::uint32_t width, std::uint32_t height) {
    if (width == 0 || height == 0 || width > 0x7FFFFFFFu || height > 0x7FFFFFFFu ||
        std::uint64_t{width} * height >= (std::uint64_t{1} << 61))
        return invalid_input("Invalid surface dimensions");
    DibSurface surface;
    surface.screen = win::WindowDc::of(nullptr);
    if (!surface.screen) return win::win32_failure("GetDC");
    surface.memory.reset(CreateCompatibleDC(surface.screen.get()));
    if (!surface.memory) return win::win32_failure("CreateCompatibleDC");
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    surface.bitmap.reset(CreateDIBSection(surface.screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!surface.bitmap || !bits) return win::win32_failure("CreateDIBSection");
    surface.selection = win::SelectedObject(surface.memory.get(), surface.bitmap.get());
    if (!surface.selection.selected()) return win::win32_failure("SelectObject");
    surface.bits = static_cast<std::uint8_t*>(bits);
    surface.width = width;
    surface.height = height;
    return surface;
}

Result<BgraImage> grab_screen_rect(const PixelRect& area) {
    if (area.width() <= 0 || area.height() <= 0) return invalid_input("Invalid surface dimensions");
    auto surface = create_dib_surface(static_cast<std::uint32_t>(area.width()),
                                      static_cast<std::uint32_t>(area.height()));
    if (!surface) return std::move(surface).failure();
    if (!BitBlt(surface->memory.get(), 0, 0, area.width(), area.height(), surface->screen.get(), area.left, area.top,
                SRCCOPY | CAPTUREBLT))
        return win::win32_failure("BitBlt");
    if (!GdiFlush()) return win::win32_failure("GdiFlush");
    BgraImage picture{{}, surface->width, surface->height};
    const std::size_t bytes = std::size_t{surface->width} * surface->height * 4;
    try {
        picture.pixels.assign(surface->bits, surface->bits + bytes);
    } catch (const std::bad_alloc&) {
        return out_of_memory("The screen picture does not fit in memory");
    }
    // GDI leaves the alpha bytes undefined.
    for (std::size_t i = 3; i < bytes; i += 4) picture.pixels[i] = 255;
    return picture;
}

}  // namespace glimmerly
