#pragma once
// Which mouse cursor the capture editor shows, and the pictures of the
// cursors it draws itself: a thin crosshair, black or white, for aiming the
// drawing tools, and an I-beam with a small plus for placing text. The
// Windows side turns a picture into a cursor once per size and keeps it.

#include "core/editor/editor_state.h"
#include "core/editor/typing_controls.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace glimmerly {

enum class CursorId : std::uint8_t {
    // The system's own.
    Arrow = 0,
    IBeam = 1,
    SizeNwse = 2,
    SizeNesw = 3,
    SizeWe = 4,
    SizeNs = 5,
    SizeAll = 6,
    Hand = 7,
    // Drawn by the editor.
    CrosshairBlack = 8,
    CrosshairWhite = 9,
    TextInsertion = 10,
};

// The cursor over the window point.
CursorId choose_capture_cursor(const EditorState& state, const TypingControls& typing, Point point);

enum class CursorImageKind : std::uint8_t { CrosshairBlack = 0, CrosshairWhite = 1, TextInsertion = 2 };

// The drawn picture behind a cursor; none for the system's cursors.
std::optional<CursorImageKind> cursor_image_kind(CursorId cursor);

// The largest cursor picture drawn; larger requests get none.
inline constexpr std::uint32_t kMaxCursorSize = 256;

// Rectangles of a 32 x 32 design grid laid onto size x size pixels, row by
// row, 1 where a rectangle covers the pixel. Every rectangle keeps at least
// one pixel each way, so a thin bar never vanishes at small sizes.
std::vector<std::uint8_t> rasterise_cursor_rects(std::span<const Box> rects, std::uint32_t size);

// A cursor picture: size x size pixels in B, G, R, A order, top row first,
// transparent outside the shape, and the hot spot.
struct CursorPicture {
    std::uint32_t size = 0;
    std::vector<std::uint8_t> bgra;
    std::uint32_t hot_x = 0;
    std::uint32_t hot_y = 0;
};
// Empty for a size of 0 or above kMaxCursorSize.
CursorPicture cursor_picture(CursorImageKind kind, std::uint32_t size);

}  // namespace glimmerly
