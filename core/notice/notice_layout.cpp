#include "core/notice/notice_layout.h"

#include <algorithm>

namespace glimmerly {
namespace {

constexpr std::int32_t kFreeNoticeGap = 24;      // above the work area's bottom
constexpr std::int32_t kAnchoredNoticeGap = 24;  // below the anchor's top
constexpr std::int32_t kFreePadding = 16;        // each side of the text
constexpr std::int32_t kAnchoredPaddingX = 24;
constexpr std::int32_t kAnchoredPaddingY = 16;

std::int64_t effective_dpi(std::uint32_t dpi) { return std::max<std::uint32_t>(dpi, 96); }

std::int32_t clamp_to_i32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

// The left edge that centres `width` over the span.
std::int32_t centred(std::int32_t left, std::int32_t span, std::int32_t width) {
    return clamp_to_i32(std::int64_t{left} + (std::int64_t{span} - width) / 2);
}

}  // namespace

std::optional<TextId> notice_text(NoticeKind kind) {
    if (kind < NOTICE_COPIED || kind > NOTICE_COLOUR_COPIED) return std::nullopt;
    return text_id(static_cast<std::uint16_t>(text_index(TextId::notice_copied) - NOTICE_COPIED + kind));
}

std::int32_t notice_pixels(std::int32_t design, std::uint32_t dpi) {
    return clamp_to_i32(std::int64_t{design} * effective_dpi(dpi) / 96);
}

std::int32_t notice_design_width(std::int32_t text_pixels, std::uint32_t dpi, std::int32_t text_design) {
    const std::int64_t d = effective_dpi(dpi);
    const std::int64_t from_pixels = (std::int64_t{std::max(text_pixels, 0)} * 96 + d - 1) / d;
    const std::int64_t text = std::max<std::int64_t>(from_pixels, text_design);
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(text + 2 * kFreePadding, NOTICE_MIN_DESIGN_WIDTH, NOTICE_MAX_DESIGN_WIDTH));
}

PixelRect free_notice_rect(const PixelRect& work_area, std::int32_t design_width, std::uint32_t dpi) {
    const std::int64_t d = effective_dpi(dpi);
    const std::int64_t wanted = (std::int64_t{design_width} * d + 95) / 96;
    const std::int32_t width =
        static_cast<std::int32_t>(std::clamp<std::int64_t>(wanted, 0, std::max(work_area.width(), 0)));
    const std::int32_t height = notice_pixels(NOTICE_DESIGN_HEIGHT, dpi);
    const std::int32_t left = centred(work_area.left, work_area.width(), width);
    const std::int32_t bottom = clamp_to_i32(std::int64_t{work_area.bottom} - notice_pixels(kFreeNoticeGap, dpi));
    return {left, clamp_to_i32(std::int64_t{bottom} - height), left + width, bottom};
}

PixelRect anchored_notice_rect(const PixelRect& anchor, std::int32_t text_width, std::int32_t text_height,
                               std::uint32_t dpi) {
    const std::int64_t wanted = std::int64_t{text_width} + notice_pixels(kAnchoredPaddingX, dpi);
    const std::int32_t width =
        static_cast<std::int32_t>(std::clamp<std::int64_t>(wanted, 0, std::max(anchor.width(), 0)));
    const std::int32_t height =
        clamp_to_i32(std::max<std::int64_t>(std::int64_t{text_height} + notice_pixels(kAnchoredPaddingY, dpi), 0));
    const std::int32_t left = centred(anchor.left, anchor.width(), width);
    const std::int32_t top = clamp_to_i32(std::int64_t{anchor.top} + notice_pixels(kAnchoredNoticeGap, dpi));
    return {left, top, left + width, clamp_to_i32(std::int64_t{top} + height)};
}

NoticeTiming notice_timing(bool anchored) {
    // 2.1 s with a fade over the last 0.3 s; 750 ms and 180 ms when anchored.
    return anchored ? NoticeTiming{25, 6, 89} : NoticeTiming{70, 10, 255};
}

std::optional<std::uint8_t> notice_opacity(std::uint32_t tick, bool anchored) {
    const NoticeTiming timing = notice_timing(anchored);
    if (tick >= timing.life) return std::nullopt;
    if (tick <= timing.life - timing.fade) return timing.opacity;
    return static_cast<std::uint8_t>(std::uint32_t{timing.opacity} * (timing.life - tick) / timing.fade);
}

}  // namespace glimmerly
