#pragma once
// GDI grabs of the screen: a drawing surface with a top-down 32-bit DIB
// section, and the pixels of any rectangle of the virtual screen, layered
// windows included (CAPTUREBLT).

#include <windows.h>

#include <cstdint>

#include "app/win/owners.h"
#include "core/base/pixel_rect.h"
#include "core/base/result.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

// One GDI drawing surface. Members in creation order: released in reverse,
// so the DIB is selected out before it is deleted, and the memory DC goes
// before the screen DC it was made from.
struct DibSurface {
    win::WindowDc screen;
    win::UniqueMemoryDc memory;
    win::UniqueBitmap bitmap;
    win::SelectedObject selection;
    std::uint8_t* bits = nullptr;  // BGRA, top-down, stride width x 4
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// Both sides must be above 0 as signed 32-bit numbers and the pixel count
// below 2^61, else E_INVALIDARG "Invalid surface dimensions".
Result<DibSurface> create_dib_surface(std::uint32_t width, std::uint32_t height);

// The screen's pixels inside `area` (virtual-screen coordinates), every alpha
// 255. Parts outside every monitor come out as the platform fills them.
Result<BgraImage> grab_screen_rect(const PixelRect& area);

}  // namespace glimmerly
