#pragma once
// Where the drawn controls of the settings pages and the first-run setup sit,
// and where their lines of interface text land, decided apart from the
// drawing so that the painters hold no geometry of their own. Rectangles and
// results are in device pixels; lengths of the design are multiplied by the
// caller's DPI scale.

#include "core/document/scene_object.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace glimmerly {

// ---- Toggle switch ----------------------------------------------------------------

// The track hangs from the rectangle's right edge, centred on its middle; a
// rectangle narrower than the track is overhung to the left rather than
// squeezing it, so that every switch on a page lines up on the right.
struct ToggleSwitchGeometry {
    Box track;
    Point knob;
    double knob_radius = 0.0;

    friend bool operator==(const ToggleSwitchGeometry&, const ToggleSwitchGeometry&) = default;
};
ToggleSwitchGeometry toggle_switch_geometry(const Box& rect, bool on, double scale);

// ---- Option strip -----------------------------------------------------------------

// A segment as wide as its label measured at 12 px, plus room on both sides,
// and never narrower than a finger-sized minimum; design pixels.
double option_segment_width(double label_width);

struct OptionSegment {
    Box box;
    // Of the selected segment's underline.
    Point underline_from;
    Point underline_to;

    friend bool operator==(const OptionSegment&, const OptionSegment&) = default;
};
// The segments left to right inside the strip, one per width (design pixels).
std::vector<OptionSegment> option_segments(const Box& strip, std::span<const double> widths, double scale);

// ---- Shortcut cell ----------------------------------------------------------------

// Rows 6 to 8 are the pointer shortcuts (show a click, spotlight, magnifier):
// the only ones that may be cleared, so their cell keeps room for the mark.
bool is_clearable_shortcut_row(std::size_t row);

struct ShortcutCellGeometry {
    // Where the key caps or the "Add" button end.
    double right = 0.0;
    // With no shortcut: the "Add" button.
    std::optional<Box> add_button;
    // With a shortcut on a clearable row: the two strokes of the clear mark.
    std::optional<std::array<std::array<Point, 2>, 2>> clear_mark;

    friend bool operator==(const ShortcutCellGeometry&, const ShortcutCellGeometry&) = default;
};
// `add_label_width` is the "Add" label's width measured at 14 px.
ShortcutCellGeometry shortcut_cell_geometry(const Box& rect, std::size_t row, bool has_keys, double add_label_width,
                                            double scale);

// ---- Interface text lines ---------------------------------------------------------

// A line measured as `text_size`, set from the rectangle's left edge and
// centred on its middle. The box is one font size wider and twice as high
// as the text, so that clipping to it never cuts the text's own pixels;
// the rectangle's right edge plays no part.
Box middle_left_text_box(const Box& rect, Size text_size, double font_size);

// A label over its note, the pair centred on the rectangle's middle as one
// block with the note starting right under the label's line.
struct StackedLines {
    Box label;
    Box note;

    friend bool operator==(const StackedLines&, const StackedLines&) = default;
};
StackedLines stacked_lines(const Box& rect, double label_height, double note_height);

}  // namespace glimmerly
