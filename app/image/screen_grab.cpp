#include "app/image/screen_grab.h"

#include <cstring>

#include "app/win/failure.h"

namespace glimmerly {

Result<DibSurface> create_dib_surface(std::uint32_t width, std::uint32_t height) {
    const auto w = static_cast<std::int32_t>(width), h = static_cast<std::int32_t>(height);
    if (w <= 0 || h <= 0 || std::uint64_t{width} * height >= (std::uint64_t{1} << 61))
        return invalid_input("Invalid surface dimensions");
    DibSurface surface;
    surface.screen = win::WindowDc::of(nullptr);
    if (!surface.screen) return win::win32_failure("GetDC");
    surface.memory.reset(CreateCompatibleDC(surface.screen.get()));
    if (!surface.memory) return win::win32_failure("CreateCompatibleDC");
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    surface.dib.reset(CreateDIBSection(surface.screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!surface.dib || !bits) return win::win32_failure("CreateDIBSection");
    surface.selection = win::SelectedObject(surface.memory.get(), surface.dib.get());
    if (!surface.selection.selected()) return win::win32_failure("SelectObject");
    surface.bits = static_cast<std::uint8_t*>(bits);
    surface.width = width;
    surface.height = height;
    return surface;
}

PixelRect virtual_screen_rect() {
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

namespace {

// One BitBlt of `area` (virtual-screen coordinates) into the surface's top-left.
Status blit_screen(DibSurface& surface, const PixelRect& area) {
    if (!BitBlt(surface.memory.get(), 0, 0, area.width(), area.height(), surface.screen.get(), area.left, area.top,
                SRCCOPY | CAPTUREBLT))
        return win::win32_failure("BitBlt");
    if (!GdiFlush()) return win::win32_failure("GdiFlush");
    return ok_status();
}

// The surface's pixels in `pixels` (reused when it has the size), every
// alpha 255: GDI leaves the alpha bytes undefined.
Result<BgraImage> copy_out_opaque(const DibSurface& surface, std::vector<std::uint8_t> pixels) {
    const std::size_t length = std::size_t{surface.width} * surface.height * 4;
    try {
        pixels.resize(length);
    } catch (const std::bad_alloc&) {
        return out_of_memory("The screen picture does not fit in memory");
    }
    std::memcpy(pixels.data(), surface.bits, length);
    for (std::size_t i = 3; i < length; i += 4) pixels[i] = 0xFF;
    return BgraImage{std::move(pixels), surface.width, surface.height};
}

}  // namespace

Result<ScreenGrab> capture_virtual_screen() {
    const PixelRect screen = virtual_screen_rect();
    if (screen.width() <= 0 || screen.height() <= 0) return win::win32_failure("GetSystemMetrics");
    auto surface = create_dib_surface(static_cast<std::uint32_t>(screen.width()),
                                      static_cast<std::uint32_t>(screen.height()));
    if (!surface) return std::move(surface).failure();
    return capture_virtual_screen_into(*surface);
}

Result<PixelPoint> blit_virtual_screen_into(DibSurface& surface) {
    const PixelRect screen = virtual_screen_rect();
    if (screen.width() <= 0 || screen.height() <= 0) return win::win32_failure("GetSystemMetrics");
    if (static_cast<std::uint32_t>(screen.width()) != surface.width ||
        static_cast<std::uint32_t>(screen.height()) != surface.height)
        return invalid_input("Invalid surface dimensions");
    GLIM_TRY(blit_screen(surface, screen));
    return PixelPoint{screen.left, screen.top};
}

Result<ScreenGrab> picture_of_grab(const DibSurface& surface, PixelPoint origin, std::vector<std::uint8_t> pixels) {
    auto image = copy_out_opaque(surface, std::move(pixels));
    if (!image) return std::move(image).failure();
    return ScreenGrab{std::move(image).value(), origin.x, origin.y};
}

Result<ScreenGrab> capture_virtual_screen_into(DibSurface& surface, std::vector<std::uint8_t> pixels) {
    auto origin = blit_virtual_screen_into(surface);
    if (!origin) return std::move(origin).failure();
    return picture_of_grab(surface, *origin, std::move(pixels));
}

Result<BgraImage> grab_screen_rect(const PixelRect& area) {
    if (area.width() <= 0 || area.height() <= 0) return invalid_input("Invalid surface dimensions");
    auto surface = create_dib_surface(static_cast<std::uint32_t>(area.width()),
                                      static_cast<std::uint32_t>(area.height()));
    if (!surface) return std::move(surface).failure();
    GLIM_TRY(blit_screen(*surface, area));
    return copy_out_opaque(*surface, {});
}

}  // namespace glimmerly
