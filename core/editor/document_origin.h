#pragma once
// Where an editable document's frame goes when it is opened again: shown
// one-to-one, on the screens as they are now, which may not be the screens
// it was captured on.

#include <optional>
#include <span>

#include "core/base/pixel_rect.h"
#include "core/document/geometry.h"
#include "core/document/scene.h"

namespace glimmerly {

// The frame's top-left corner on the virtual screen, the first that fits:
//   1. the recorded origin, when the monitors the frame overlaps there make
//      up exactly the frame's rectangle (the same layout as at the capture);
//   2. the corner of the monitor under the pointer, when it has the frame's
//      size; 3. the corner of the first monitor of that size;
//   4. centred on the monitor under the pointer (the first monitor when the
//      pointer is on none), when the frame fits in it;
//   5. centred on the bounding box of all monitors, when it fits there.
// None when nothing fits: the document is too large for these screens.
// `monitors` are virtual-screen rectangles; the pointer is on a monitor when
// it lies within it edges included. Centring rounds down, and the origin
// saturates to 32 bits.
std::optional<PixelPoint> choose_document_origin(FrameSize frame, ScreenOrigin recorded,
                                                 std::span<const Box> monitors, PixelPoint pointer);

// The editor window of a frame placed at `origin`: the frame grown to the
// monitors it overlaps, so that beside a frame smaller than its screens the
// toolbar still has the room a capture of those screens gives it. A frame
// that makes up its monitors gets a window of its own size.
Box document_window(FrameSize frame, PixelPoint origin, std::span<const Box> monitors);

}  // namespace glimmerly
