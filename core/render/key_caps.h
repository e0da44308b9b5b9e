#pragma once
// Shortcuts shown as rows of key caps, and the shortcut recording field with
// its dashed outline, its reset button and its clear cross, as pictures in
// pixels. The caller measures the labels (interface body text at
// `kKeyCapLabelSize` x scale) and replays the picture.

#include "core/render/picture.h"

#include <optional>
#include <span>
#include <string>

namespace glimmerly {

inline constexpr double kKeyCapLabelSize = 12.0;  // units

// A text with its measured width in pixels at the size it is drawn.
struct MeasuredText {
    std::string text;
    double width = 0.0;
};

// The row's width in units for label widths in units: each cap is its label
// widened to at least 10 units plus 14, with 4 between caps; 0 for none.
double key_caps_row_width(std::span<const double> label_widths);

// The caps with the row's right edge at `right`, each `half_height` units
// above and below `centre_y`; in orange when the shortcut is unavailable.
Picture key_caps_picture(std::span<const MeasuredText> labels, double right, double centre_y, double half_height,
                         double scale, bool unavailable);

// The same caps outlined in `outline`: the keys held while a shortcut is
// being recorded, in the recording's colour.
Picture outlined_key_caps_picture(std::span<const MeasuredText> labels, double right, double centre_y,
                                  double half_height, double scale, Rgb outline);

// The recording field's rectangles, in pixels.
struct ShortcutFieldLayout {
    Box field;
    Box reset;
    Box clear;
};

// The whole field: its caps when keys are recorded, else the placeholder
// when there is one, then the separator, the reset button and the cross.
Picture shortcut_field_picture(const ShortcutFieldLayout& layout, std::span<const MeasuredText> labels,
                               const std::optional<MeasuredText>& placeholder, Rgb colour, double scale);

// The reset glyph: three quarters of a circle with its head at the start.
Picture circular_arrow_picture(Point centre, double scale);

}  // namespace glimmerly
