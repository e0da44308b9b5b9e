#pragma once
// What the presentation pictures of "--render-demo" show, without any
// window: the sample's temporary shapes, the keys and mouse button held on
// its keys display, and the four device layers of the layouts picture.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/document/scene_object.h"
#include "core/presentation/key_display.h"
#include "core/presentation/shown_input.h"

namespace glimmerly {

// One temporary shape of the sample: a rectangle or ellipse by two corners,
// an arrow from `from` to `to`, drawn at `opacity` (0..1). A shape without a
// kind, or of a kind the shapes layer does not draw, is left out.
struct SampleShape {
    std::optional<ObjectKind> kind;
    Point from;
    Point to;
    float opacity = 1.0f;
};

inline constexpr Rgb kSampleShapeColour{237, 79, 92};
inline constexpr double kSampleShapeWidth = 5.0;
inline constexpr double kSampleShapeHeadSize = 28.0;

// The shape as the shapes layer draws it: red, 5 wide, no fills; none when
// the shape is left out.
std::optional<SceneObject> sample_shape_object(const SampleShape& shape);

// The presentation picture's rectangle, arrow and half-faded ellipse.
std::array<SampleShape, 3> presentation_picture_shapes();

struct SampleKeys {
    KeyDisplay keys;
    ShownInput mouse;
};

// Ctrl, left Shift, Alt, Space, Enter, Num Lock, Home, Caps Lock, Backspace,
// "C" and Delete held with the left button: a key of every width.
SampleKeys presentation_sample_keys();
// Left Shift, Space, "Z" and right Ctrl held with the left button.
SampleKeys keyboard_layouts_keys();

// One device layer of the layouts picture, at (x, y) of the picture.
struct KeyboardLayoutRow {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool keyboard = false;
    bool mouse = false;
    bool us_layout = false;
    bool move_mode = false;
};
inline constexpr std::int32_t kDeviceLayerHeight = 140;
inline constexpr std::uint32_t kKeyboardLayoutsWidth = 640;
inline constexpr std::uint32_t kKeyboardLayoutsHeight = 570;

// The keyboard alone, the mouse alone, both on the US layout, and both on
// the other layout without the move-mode look.
std::array<KeyboardLayoutRow, 4> keyboard_layout_rows();
// The row's layer width: as wide as the parts it shows.
std::int32_t keyboard_layout_width(const KeyboardLayoutRow& row);

}  // namespace glimmerly
