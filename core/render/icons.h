#pragma once
// The line icons beside menu rows, settings tabs and setup pages, and the
// pictures of the capture editor's toolbar, as pictures on a 20 x 20-unit
// grid (place them with `place_picture`). Every design is a table of shapes;
// only the colour swatches, which follow the swatch's state and colour, are
// worked out.
//
// Line work is 1.6 units wide. Menus and settings ask for an icon in one
// opaque colour; the toolbar asks for an action's picture with a style that
// gives its line, fill and shade colours.

#include "core/document/scene_object.h"
#include "core/editor/editor_state.h"
#include "core/render/picture.h"

#include <cstdint>

namespace glimmerly {

inline constexpr double kIconGrid = 20.0;
inline constexpr double kIconLineWidth = 1.6;

// The low byte selects the picture: 22 to 45 the kit's own; below 22 the
// whole value is an editor action word, drawn as its toolbar picture
// (IconKind{tool_action(Tool::Arrow)}).
enum class IconKind : std::uint32_t {
    None = 22,
    RegionCorners = 23,
    Lightning = 24,
    RecordDot = 25,
    Magnifier = 26,
    Keyboard = 27,
    Mouse = 28,
    DocumentPencil = 29,
    Eye = 30,
    EyeSlashed = 31,
    Gear = 32,
    Globe = 33,
    Power = 34,
    SignIn = 35,
    Sliders = 36,
    Monitor = 37,
    PopOut = 38,
    Clock = 39,
    MoveArrows = 40,
    PointerClick = 41,
    Panel = 42,
    Trail = 43,
    Check = 44,
    Chevron = 45,
};

// The icon in one colour, drawn opaque; empty for `None` and for a low byte
// past the last picture.
Picture icon_picture(IconKind kind, Rgb colour);

// How a colour swatch shows: plain, selected (smaller, with a ring), or at
// its full size whatever the factor.
enum class SwatchState : std::uint8_t { Plain = 0, Selected = 1, FixedSize = 2 };

struct ToolbarIconStyle {
    SwatchState swatch = SwatchState::Plain;
    float ring_opacity = 0.95f;  // of a selected swatch's white ring
    double ring_factor = 1.0;    // the ring's radius is 10.2 units times this
    double swatch_factor = 1.0;  // the swatch's radius is 8 units times this
    Rgb foreground;              // palette squares
    Rgb contrast;                // the letter on the text-colour palette
    Rgb stroke;                  // all line work
    Rgb shade;                   // dark fills inside pictures (the fill bucket)

    friend bool operator==(const ToolbarIconStyle&, const ToolbarIconStyle&) = default;
};

// The colours an action's picture shows: the first is the ink of the tool
// pictures and the custom-colour swatch, the second the fill mode's drop.
struct ColourPair {
    Rgb first;
    Rgb second;

    friend bool operator==(const ColourPair&, const ColourPair&) = default;
};

// The picture of an action word; empty for the actions without one (copy
// colour code, full screen, no effect, save as) and for unknown codes.
Picture toolbar_picture(EditorAction action, const ToolbarIconStyle& style, ColourPair pair);

// The style an icon of one colour gives a toolbar picture: a colour swatch of
// that very colour, and the custom-colour swatch, show selected.
ToolbarIconStyle icon_toolbar_style(EditorAction action, Rgb colour);

// A swatch selected without its animation.
inline constexpr double kSelectedSwatchFactor = 0.8375;
inline constexpr float kSwatchRingOpacity = 0.95f;

// The arrow tool's picture is a real arrow object, so that it shows the
// editor's own head; this makes it from a placed arrow shape.
SceneObject icon_arrow_object(const ArrowShape& arrow, Rgb colour, double width);

}  // namespace glimmerly
