#pragma once
// The confirmation notice: which text a kind shows, its size and place on the
// screen, and its fade. The window code measures the text and asks these.
//
// Sizes are design units at 96 dpi scaled by dpi / 96. A free notice sits
// centred near the bottom of the work area under the pointer; an anchored
// one (the instant screenshot's) sits over a given rectangle, smaller and
// translucent, and lives shorter.

#include <cstdint>
#include <optional>

#include "core/base/pixel_rect.h"
#include "text/text_table.h"

namespace glimmerly {

// 1 copied, 2 saved, 3 searching, 4 settings saved, 5 editable image saved,
// 6 colour code copied; its text is TextId 141 + kind.
using NoticeKind = std::uint8_t;
inline constexpr NoticeKind NOTICE_COPIED = 1;
inline constexpr NoticeKind NOTICE_SAVED = 2;
inline constexpr NoticeKind NOTICE_SEARCHING = 3;
inline constexpr NoticeKind NOTICE_PREFERENCES = 4;
inline constexpr NoticeKind NOTICE_SAVED_EDITABLE = 5;
inline constexpr NoticeKind NOTICE_COLOUR_COPIED = 6;

// None for a kind outside 1..6 (a request carrying one shows nothing).
std::optional<TextId> notice_text(NoticeKind kind);

inline constexpr std::int32_t NOTICE_DESIGN_HEIGHT = 56;
inline constexpr std::int32_t NOTICE_TEXT_HEIGHT = 14;
inline constexpr std::int32_t NOTICE_MIN_DESIGN_WIDTH = 360;
inline constexpr std::int32_t NOTICE_MAX_DESIGN_WIDTH = 640;
inline constexpr std::int32_t NOTICE_REGION_CORNER = 12;
inline constexpr std::int32_t NOTICE_FREE_PAINTED_CORNER = 12;
inline constexpr std::int32_t NOTICE_ANCHORED_PAINTED_CORNER = 8;
// One tick of the notice's timer.
inline constexpr std::uint32_t NOTICE_TICK_MS = 30;

// Design units to pixels at `dpi` (never below 96), rounded down.
std::int32_t notice_pixels(std::int32_t design, std::uint32_t dpi);

// The design width of a free notice: the text's width, measured in pixels at
// `dpi` and converted back rounding up, or its width measured in design units
// when that is larger, plus 16 on each side, within 360..640.
std::int32_t notice_design_width(std::int32_t text_pixels, std::uint32_t dpi, std::int32_t text_design);

// A free notice: ceil(design width x dpi / 96) wide and 56 x dpi / 96 high,
// no wider than the work area, centred in it with its bottom 24 above the
// area's bottom.
PixelRect free_notice_rect(const PixelRect& work_area, std::int32_t design_width, std::uint32_t dpi);

// An anchored notice: the text's pixel extent plus 24 in width and 16 in
// height, no wider than the anchor, centred over it with its top 24 below the
// anchor's top.
PixelRect anchored_notice_rect(const PixelRect& anchor, std::int32_t text_width, std::int32_t text_height,
                               std::uint32_t dpi);

struct NoticeTiming {
    std::uint32_t life;  // ticks until the notice hides
    std::uint32_t fade;  // the last ticks of its life, over which it fades
    std::uint8_t opacity;
};
NoticeTiming notice_timing(bool anchored);

// The opacity after `tick` ticks: full until the fade, then full x (life -
// tick) / fade rounded down; none from the end of its life on (hidden).
std::optional<std::uint8_t> notice_opacity(std::uint32_t tick, bool anchored);

}  // namespace glimmerly
