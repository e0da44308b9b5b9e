#pragma once
// The drawn controls of the settings pages and the first-run setup, in their
// one dark theme. A page painter calls one of these per control within its
// paint pass; where each control sits is the page layout's. Rectangles are in
// device pixels, design lengths are multiplied by `scale` (the DPI scale),
// and labels come already in the interface language.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/render/painting_kit.h"

namespace glimmerly {

// An on/off switch against the rectangle's right edge.
void paint_toggle_switch(Painter& painter, const Box& rect, bool on, double scale);

// A segmented choice filling the rectangle: one segment per label, each
// `segment_widths` design pixels wide (`option_segment_width`), the selected
// one, if any, raised and underlined. Labels and widths must pair up.
Status paint_option_strip(Painter& painter, std::span<const std::string> labels,
                          std::span<const double> segment_widths, std::optional<std::size_t> selected,
                          const Box& rect, double scale);

// The right-hand cell of shortcut row `row` (0 to 8): the shortcut's key
// caps, with a clear mark on the pointer rows, or with no keys the "Add"
// button, whose label was measured at 14 px as `add_label_width`.
Status paint_shortcut_cell(Painter& painter, std::size_t row, std::span<const std::string> key_caps,
                           bool unavailable, std::string_view add_label, double add_label_width, const Box& rect,
                           double scale);

struct ButtonColours {
    Rgb fill;
    Rgb border;
    Rgb text;
};

// A button of the first-run setup filling the rectangle.
Status paint_setup_button(Painter& painter, const Box& rect, double scale, std::string_view text,
                          const ButtonColours& colours);

}  // namespace glimmerly
