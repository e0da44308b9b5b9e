#pragma once
// Lines of interface text on the settings pages, the first-run setup and the
// capture chrome that are neither key caps nor button labels. They draw in
// the current interface language within the caller's paint pass. The plain
// text clipped to a rectangle is the kit's `draw_ui_text`.

#include <string_view>

#include "app/render/painting_kit.h"

namespace glimmerly {

// One line of a text block: its size in design pixels and its colour.
struct TextLine {
    std::string_view text;
    double size = 0.0;
    Rgb colour;
};

// From the rectangle's left edge, centred on its middle, at `size` pixels;
// never clipped by the rectangle's width.
Status paint_text_middle_left(Painter& painter, std::string_view text, const Box& rect, double size,
                              UiTextStyle style, Rgb colour);

// The label (body style) over its note (small style), the pair centred on
// the rectangle's middle. A failed label leaves the note undrawn.
Status paint_label_with_note(Painter& painter, const TextLine& label, const TextLine& note, const Box& rect,
                             double scale);

}  // namespace glimmerly
