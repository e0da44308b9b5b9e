#include "core/render/control_geometry.h"

#include <algorithm>

namespace glimmerly {

namespace {

// Design pixels.
constexpr double kTrackWidth = 36.0;
constexpr double kTrackHalfHeight = 9.0;
constexpr double kKnobInset = 9.0;  // from the track's end to the knob's centre
constexpr double kOnKnobRadius = 5.0;
constexpr double kOffKnobRadius = 4.5;

constexpr double kSegmentPadding = 24.0;
constexpr double kMinSegmentWidth = 44.0;
constexpr double kStripInset = 2.0;
constexpr double kUnderlineInset = 8.0;
constexpr double kUnderlineRise = 3.0;

constexpr std::size_t kFirstClearableRow = 6;
constexpr std::size_t kLastClearableRow = 8;
constexpr double kClearMarkRoom = 24.0;
constexpr double kAddButtonPadding = 28.0;
constexpr double kAddButtonHalfHeight = 14.0;
constexpr double kClearMarkNear = 6.0;
constexpr double kClearMarkFar = 14.0;
constexpr double kClearMarkHalf = 4.0;

double middle(const Box& rect) { return (rect.top + rect.bottom) / 2.0; }

}  // namespace

ToggleSwitchGeometry toggle_switch_geometry(const Box& rect, bool on, double scale) {
    const double s = scale, mid = middle(rect);
    const Box track{rect.right - kTrackWidth * s, mid - kTrackHalfHeight * s, rect.right,
                    mid + kTrackHalfHeight * s};
    if (on) return {track, {track.right - kKnobInset * s, mid}, kOnKnobRadius * s};
    return {track, {track.left + kKnobInset * s, mid}, kOffKnobRadius * s};
}

double option_segment_width(double label_width) {
    return std::max(label_width + kSegmentPadding, kMinSegmentWidth);
}

std::vector<OptionSegment> option_segments(const Box& strip, std::span<const double> widths, double scale) {
    const double s = scale;
    const double top = strip.top + kStripInset * s, bottom = strip.bottom - kStripInset * s;
    const double underline_y = strip.bottom - kUnderlineRise * s;
    std::vector<OptionSegment> out;
    out.reserve(widths.size());
    double x = strip.left + kStripInset * s;
    for (const double width : widths) {
        const Box box{x, top, x + width * s, bottom};
        out.push_back(
            {box, {box.left + kUnderlineInset * s, underline_y}, {box.right - kUnderlineInset * s, underline_y}});
        x = box.right;
    }
    return out;
}

bool is_clearable_shortcut_row(std::size_t row) { return row >= kFirstClearableRow && row <= kLastClearableRow; }

ShortcutCellGeometry shortcut_cell_geometry(const Box& rect, std::size_t row, bool has_keys, double add_label_width,
                                            double scale) {
    const double s = scale, mid = middle(rect);
    const bool clearable = is_clearable_shortcut_row(row);
    ShortcutCellGeometry out;
    out.right = clearable ? rect.right - kClearMarkRoom * s : rect.right;
    if (!has_keys) {
        out.add_button = Box{out.right - (add_label_width + kAddButtonPadding) * s, mid - kAddButtonHalfHeight * s,
                             out.right, mid + kAddButtonHalfHeight * s};
    } else if (clearable) {
        const double near = rect.right - kClearMarkNear * s, far = rect.right - kClearMarkFar * s;
        const double up = mid - kClearMarkHalf * s, down = mid + kClearMarkHalf * s;
        out.clear_mark = {{{Point{far, up}, Point{near, down}}, {Point{far, down}, Point{near, up}}}};
    }
    return out;
}

Box middle_left_text_box(const Box& rect, Size text_size, double font_size) {
    const double top = middle(rect) - text_size.h / 2.0;
    return {rect.left, top, rect.left + text_size.w + font_size, top + 2.0 * text_size.h};
}

StackedLines stacked_lines(const Box& rect, double label_height, double note_height) {
    const double top = middle(rect) - (label_height + note_height) / 2.0;
    const double split = top + label_height;
    return {{rect.left, top, rect.left, split}, {rect.left, split, rect.left, split + note_height}};
}

}  // namespace glimmerly
