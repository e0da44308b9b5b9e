#pragma once
// The colour picker popup's pictures and where its parts go. The hue ring
// and the saturation/value square are generated here as BGRA pixels (top
// row first, no padding) and kept by the renderer under a name and a
// version, so that a frame only draws them: the ring never changes, the
// square changes with the hue.

#include "core/editor/editor_state.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace glimmerly {

inline constexpr std::uint32_t kHueWheelSide = 204;
inline constexpr std::uint32_t kValueSquareSide = 128;
inline constexpr std::string_view kHueWheelKey = "picker.wheel";
inline constexpr std::string_view kValueSquareKey = "picker.square";
inline constexpr std::uint64_t kHueWheelVersion = 0;

// Fully saturated hues at full value on a ring between radii 82 and 100
// about the picture's centre, with a one-pixel soft edge each side; hue 0 to
// the right, growing clockwise on screen. Premultiplied alpha, transparent
// (all four bytes 0) off the ring.
std::vector<std::uint8_t> generate_hue_wheel();

// The hue's colours, saturation growing to the right and value upwards
// (white top left, the pure hue top right, black along the bottom); opaque.
// A hue that is no number counts as 0.
std::vector<std::uint8_t> generate_value_square(double hue);

// The square's version: the hue's bit pattern, so that any change of hue,
// even one that gives the same colours (1.0 after 0.0), makes it again.
std::uint64_t value_square_version(double hue);

// Where the popup's parts go, in window pixels, for its current colour. The
// caller measures the title and the hint (interface text at their sizes).
struct PickerMarker {
    Point centre;
    double radius = 0.0;
};
struct PickerPaintLayout {
    Box panel;
    double panel_radius = 0.0;
    double panel_outline = 0.0;
    Box wheel;
    Box square;
    PickerMarker hue_marker;     // hue first, then the square's
    PickerMarker square_marker;  // each drawn black then white
    double marker_dark_width = 0.0;
    double marker_light_width = 0.0;
    Box swatch;
    double swatch_outline = 0.0;
    Box title;
    Box code;
    Box hint;
    double title_size = 0.0;
    double code_size = 0.0;
    double hint_size = 0.0;
};
inline constexpr Rgb kPickerPanel{32, 32, 32};
inline constexpr Rgb kPickerPanelOutline{72, 72, 72};
inline constexpr Rgb kPickerText{240, 240, 240};
inline constexpr Rgb kPickerHintText{174, 174, 174};
inline constexpr float kPickerMarkerDarkOpacity = 0.85f;

// None while the popup is not shown (scale 0 or no number).
std::optional<PickerPaintLayout> picker_paint_layout(const ColourPicker& picker, double title_width,
                                                     double hint_width);

}  // namespace glimmerly
