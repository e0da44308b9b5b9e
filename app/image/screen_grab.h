#pragma once
// Grabs of the screen with GDI, and the drawing surface they land on: one
// memory DC with a top-down 32-bit DIB section, compatible with the screen.

#include <windows.h>

#include <cstdint>
#include <vector>

#include "app/win/owners.h"
#include "core/base/pixel_rect.h"
#include "core/base/result.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

// A picture of the virtual screen with its top-left corner there (the
// virtual screen's left and top at the time of the grab). Every pixel is
// opaque.
struct ScreenGrab {
    BgraImage image;
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// Members in creation order, so that they go in reverse: the DIB selected
// out, then deleted, then the memory DC, then the screen DC.
struct DibSurface {
    win::WindowDc screen;
    win::UniqueMemoryDc memory;
    win::UniqueBitmap dib;
    win::SelectedObject selection;
    std::uint8_t* bits = nullptr;  // BGRA, top-down, stride width x 4
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// Both sizes above 0 as signed 32-bit numbers and their product below 2^61,
// else "Invalid surface dimensions".
Result<DibSurface> create_dib_surface(std::uint32_t width, std::uint32_t height);

// The virtual screen as the system reports it now.
PixelRect virtual_screen_rect();

// One BitBlt of the whole virtual screen (windows drawn by others included)
// into a new surface, copied out opaque.
Result<ScreenGrab> capture_virtual_screen();
// The same into a surface made earlier, which must have the virtual screen's
// size; the surface keeps the grabbed pixels. `pixels` becomes the picture's
// buffer: one made ahead of the right size saves its allocation.
Result<ScreenGrab> capture_virtual_screen_into(DibSurface& surface, std::vector<std::uint8_t> pixels = {});
// Its two halves: the screen blitted into the surface (the screen's
// top-left corner returned), then the surface's pixels copied out opaque.
Result<PixelPoint> blit_virtual_screen_into(DibSurface& surface);
Result<ScreenGrab> picture_of_grab(const DibSurface& surface, PixelPoint origin, std::vector<std::uint8_t> pixels);

// The screen's pixels inside `area` (virtual-screen coordinates), every alpha
// 255. Parts outside every monitor come out as the platform fills them.
Result<BgraImage> grab_screen_rect(const PixelRect& area);

}  // namespace glimmerly
