#pragma once
// How the capture chrome looks in window pixels, decided apart from the
// drawing: each toolbar button's background and picture style with its
// animations, the hint boxes beside the pointer and under toolbar items, the
// brush circle, the prompt shown before a region is chosen and the size
// label's text. The toolbar's layout, hints and marks are the editor's
// (toolbar.h, toolbar_hints.h); this adds what the painter needs on top.

#include "core/editor/selection_geometry.h"
#include "core/editor/toolbar.h"
#include "core/render/icons.h"

#include <optional>
#include <string>

namespace glimmerly {

inline constexpr Rgb kToolbarPanelFill{32, 32, 32};
inline constexpr Rgb kToolbarPanelOutline{78, 78, 78};
inline constexpr double kToolbarPanelRadius = 8.0;  // units
inline constexpr Rgb kHintBoxFill{25, 25, 25};
inline constexpr Rgb kHintText{250, 250, 250};
inline constexpr Rgb kBrushOuter{25, 25, 25};
inline constexpr Rgb kBrushInner{250, 250, 250};
inline constexpr Rgb kPromptFill{28, 28, 28};
inline constexpr float kPromptOpacity = 0.94f;
inline constexpr Rgb kPromptTitle{245, 245, 245};
inline constexpr Rgb kPromptLine{180, 183, 188};
inline constexpr Rgb kSizeLabelText{240, 240, 240};

// ---- Toolbar animations ---------------------------------------------------------
// Each takes the running animation of its group for the item (from
// `toolbar_item_for_action`), none when it has none.

// The background's size factor: a button that becomes marked, or unmarked,
// shrinks and bounces back to its size with the cubic ease-out.
double button_background_factor(const std::optional<ToolbarAnimationProgress>& mark);

// A colour swatch's look: it shrinks into a ring when it becomes the colour,
// grows back when it stops being it, and swells under the pointer.
struct SwatchLook {
    double swatch_factor = 1.0;
    float ring_opacity = kSwatchRingOpacity;
    double ring_factor = 1.0;

    friend bool operator==(const SwatchLook&, const SwatchLook&) = default;
};
SwatchLook swatch_look(bool selected, const std::optional<ToolbarAnimationProgress>& colour_mark,
                       const std::optional<ToolbarAnimationProgress>& hover, bool hovered);

// ---- Toolbar buttons --------------------------------------------------------------

struct ToolbarButtonLook {
    Box background;  // grown or shrunk about the button's centre by its press
    double radius = 0.0;
    Rgb background_colour;
    Point icon_origin;  // of the 20 x 20-unit picture, centred in the button
    double icon_scale = 1.0;
    ToolbarIconStyle style;
    ColourPair pair;
};
// `colour` is the current colour and `colours` what the colour buttons show
// for the selection (`build_toolbar_frame`).
ToolbarButtonLook toolbar_button_look(const EditorState& state, const ToolbarButton& button, Rgb colour,
                                      const SelectionColourState& colours, ChromeClock::time_point now);

// ---- Hint boxes ----------------------------------------------------------------------

// A dark box with one line of interface text.
struct HintBox {
    Box box;
    Box text;  // where the text is drawn
    double radius = 0.0;
    double text_size = 0.0;

    friend bool operator==(const HintBox&, const HintBox&) = default;
};
// The box for a text of that measured width beside the pointer, shifted
// right by `shift`, kept inside the frame; at least 72 units wide.
HintBox place_pointer_hint(const EditorState& state, double text_width, double shift);
// A toolbar item's tooltip under (else over) the item, inside the monitor.
HintBox place_toolbar_tooltip(const EditorState& state, const Box& item, double text_width);

// ---- Brush circle ------------------------------------------------------------------

struct BrushCircle {
    Point centre;
    double radius = 0.0;  // on screen
    double outer_width = 0.0;
    double inner_width = 0.0;

    friend bool operator==(const BrushCircle&, const BrushCircle&) = default;
};
// At the pointer while the brush preview shows.
std::optional<BrushCircle> brush_circle(const EditorState& state);
// The width label sits right of the pointer by the circle's radius; the
// wheel hint by the radius too but at least 8 units, circle or not.
double width_label_shift(const BrushCircle& circle);
double wheel_hint_shift(const EditorState& state, const std::optional<BrushCircle>& circle);

// ---- Prompt and size label -------------------------------------------------------------

struct PromptLayout {
    Box box;
    double radius = 0.0;
    Point title;  // top-left corners of the two lines
    Point line;
    double title_size = 0.0;
    double line_size = 0.0;
};
// The prompt beside the pointer for its two measured lines.
PromptLayout place_prompt(const EditorState& state, double title_width, double line_width);
inline constexpr double kPromptTitleSize = 13.0;  // units
inline constexpr double kPromptLineSize = 11.0;

// "1920 × 1080": the selection's size in whole pixels, as the size fields
// open with it (dimension_fields.h), drawn at this size.
inline constexpr double kSizeLabelSize = 13.0;  // units
std::string selection_size_text(const Box& selection);

}  // namespace glimmerly
