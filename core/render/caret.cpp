#include "core/render/caret.h"

#include "core/document/point_math.h"

#include <algorithm>
#include <cmath>

namespace glimmerly {

namespace {

bool breaks_line(char16_t c) { return c == u'\r' || c == u'\n'; }

}  // namespace

double caret_width(double font_size, double unit) {
    const double twelfth = font_size / 12.0;
    const double least = 2.0 * unit;
    return std::isnan(least) ? twelfth : std::max(twelfth, least);
}

std::optional<std::uint32_t> scroll_target(std::uint32_t start, std::uint32_t end, const TextBoxScroll& last) {
    if (start == end || end != last.caret) return end;
    if (start != last.start) return start;
    return std::nullopt;
}

float updated_scroll(float scroll, std::optional<double> target_x, double caret_width, double text_width,
                     double box_width) {
    double s = scroll;
    const double w = caret_width;
    if (target_x) {
        s = std::min(s, std::floor(*target_x - w / 2.0));
        s = std::max(s, std::ceil(*target_x + 1.5 * w - box_width));
    }
    s = std::min(s, std::ceil(text_width + 1.5 * w - box_width));
    s = std::max(s, 0.0);
    return static_cast<float>(s);
}

double caret_line_x(std::u16string_view text, std::uint32_t caret, double hit_x, double caret_width) {
    const bool before_character = caret < text.size() && !breaks_line(text[caret]);
    if (!before_character) return hit_x + caret_width;
    const bool after_character = caret > 0 && caret <= text.size() && !breaks_line(text[caret - 1]);
    return after_character ? hit_x : hit_x + caret_width / 2.0;
}

bool caret_shown(CaretBlink& blink, const CaretKey& key, ChromeClock::time_point now,
                 std::optional<ChromeClock::duration> period) {
    if (blink.key != key) {
        blink.key = key;
        blink.since = now;
        blink.phase = kCaretPhaseReset;
    }
    // The system can report no blinking; a zero period cannot be divided by
    // and means the same.
    if (!period || *period <= ChromeClock::duration::zero()) return true;
    const auto elapsed = std::max(now - blink.since, ChromeClock::duration::zero());
    blink.phase = static_cast<std::uint32_t>(elapsed / *period);
    return blink.phase % 2 == 0;
}

std::optional<ChromeClock::duration> caret_redraw_in(const CaretBlink& blink,
                                                     std::optional<ChromeClock::duration> period,
                                                     ChromeClock::time_point now) {
    if (!blink.key || !period || *period <= ChromeClock::duration::zero()) return std::nullopt;
    const auto elapsed = std::max(now - blink.since, ChromeClock::duration::zero());
    return *period - elapsed % *period;
}

LabelBox label_box(Point at, Size frame, double font_size) {
    const double across = 0.4 * font_size, down = 0.25 * font_size;
    return {{at.x - across, at.y - down, at.x + frame.w + across, at.y + frame.h + down}, down};
}

Point scroll_shift(double scroll, double rotation) { return rotate_vector({-scroll, 0.0}, rotation); }

}  // namespace glimmerly
