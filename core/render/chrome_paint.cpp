#include "core/render/chrome_paint.h"

#include "core/editor/chrome_math.h"
#include "core/editor/dimension_fields.h"
#include "core/editor/overlay_geometry.h"
#include "core/editor/toolbar_hints.h"
#include "core/render/interface_colours.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>

namespace glimmerly {

namespace {

using Kind = ToolbarAnimationKind;

// Button look colours.
constexpr Rgb kButtonRest{32, 32, 32};
constexpr Rgb kButtonHovered{55, 55, 55};
constexpr Rgb kStrokeRest{235, 235, 235};
constexpr Rgb kStrokeMarked{16, 22, 32};
constexpr Rgb kStrokeDim{100, 100, 100};
constexpr Rgb kShadeRest{32, 32, 32};
constexpr Rgb kShadeMarked = kAccent;
constexpr Rgb kButtonAccent = kAccent;

// Measures in units.
constexpr double kButtonRadius = 5.0;
constexpr double kHintTextSize = 12.0;
constexpr double kHintHeight = 24.0;
constexpr double kHintMinWidth = 72.0;
constexpr double kHintPadding = 7.0;  // left of the text; twice this is added to its width
constexpr double kHintTextTop = 3.0;
constexpr double kHintRadius = 4.0;
constexpr double kHintOffset = 10.0;  // from the pointer
constexpr double kWheelHintMinShift = 8.0;
constexpr double kPromptPadding = 32.0;
constexpr double kPromptMinWidth = 48.0;
constexpr double kPromptHeight = 46.0;
constexpr double kPromptRadius = 5.0;

constexpr double kHoverGrowth = 0.14;

// Piecewise linear through the points; before the first and after the last
// the end values hold.
double through(std::initializer_list<Point> points, double t) {
    const Point* prev = points.begin();
    if (!(t > prev->x)) return prev->y;
    for (const Point* p = prev + 1; p != points.end(); prev = p++) {
        if (t <= p->x) return prev->y + (p->y - prev->y) * (t - prev->x) / (p->x - prev->x);
    }
    return prev->y;
}

double ease_out(double t) {
    const double u = 1.0 - std::clamp(t, 0.0, 1.0);
    return 1.0 - u * u * u;
}

Point centre_of(const Box& b) { return {(b.left + b.right) / 2.0, (b.top + b.bottom) / 2.0}; }

HintBox hint_box_at(double left, double top, double width, double s) {
    return {box_at(left, top, width, kHintHeight * s),
            {left + kHintPadding * s, top + kHintTextTop * s, left + width, top + kHintHeight * s},
            kHintRadius * s,
            kHintTextSize * s};
}

double hint_width(double text_width, double s) {
    const double t = std::isfinite(text_width) ? std::max(text_width, 0.0) : 0.0;
    return t + 2.0 * kHintPadding * s;
}

}  // namespace

double button_background_factor(const std::optional<ToolbarAnimationProgress>& mark) {
    // A press bounces the background (shrunk, past its size, back). The
    // unmarking is timed too, but the button that loses its mark is not the
    // one pressed: it stays at its size, so that only the pressed one moves.
    if (!mark || mark->kind != Kind::Marked) return 1.0;
    return through({{0.0, 0.78}, {0.55, 1.1}, {1.0, 1.0}}, ease_out(mark->progress));
}

SwatchLook swatch_look(bool selected, const std::optional<ToolbarAnimationProgress>& colour_mark,
                       const std::optional<ToolbarAnimationProgress>& hover, bool hovered) {
    SwatchLook look;
    if (selected) look.swatch_factor = kSelectedSwatchFactor;
    if (colour_mark && colour_mark->kind == Kind::ColourMarkArrives) {
        const double t = colour_mark->progress;
        look.swatch_factor = through({{0.0, 1.0}, {0.4, 0.79}, {0.7, 0.855}, {1.0, kSelectedSwatchFactor}}, t);
        look.ring_opacity =
            static_cast<float>(through({{0.0, 0.0}, {0.45, kSwatchRingOpacity}, {1.0, kSwatchRingOpacity}}, t));
        look.ring_factor = through({{0.0, 0.8}, {0.45, 1.05}, {1.0, 1.0}}, t);
    } else if (colour_mark && colour_mark->kind == Kind::ColourMarkLeaves) {
        look.swatch_factor = through({{0.0, kSelectedSwatchFactor}, {0.5, 1.05}, {1.0, 1.0}}, colour_mark->progress);
    }
    if (hover && hover->kind == Kind::ColourMarkHovered) {
        look.swatch_factor = 1.0 + kHoverGrowth * ease_out(hover->progress);
    } else if (hover && hover->kind == Kind::ColourMarkLeft) {
        look.swatch_factor = 1.0 + kHoverGrowth - kHoverGrowth * ease_out(hover->progress);
    } else if (hovered) {
        look.swatch_factor = 1.0 + kHoverGrowth;
    }
    return look;
}

ToolbarButtonLook toolbar_button_look(const EditorState& state, const ToolbarButton& button, Rgb colour,
                                      const SelectionColourState& colours, ChromeClock::time_point now) {
    const double s = anchor_monitor_scale(state);
    const auto& animations = state.toolbar.animations;
    const bool marked = toolbar_button_marked(state, button);
    // A disabled button (nothing to undo) still shows its hint but is drawn
    // dim and never lit.
    const bool dim = !button.accepts_hover || !button.enabled;
    const bool hovered = !dim && box_contains(button.rect, state.pointer);

    ToolbarButtonLook look;
    const double k =
        button_background_factor(toolbar_item_for_action(animations, ToolbarAnimationGroup::Mark, button.action, now));
    const Point c = centre_of(button.rect);
    const double hw = (button.rect.right - button.rect.left) / 2.0 * k;
    const double hh = (button.rect.bottom - button.rect.top) / 2.0 * k;
    look.background = {c.x - hw, c.y - hh, c.x + hw, c.y + hh};
    look.radius = kButtonRadius * s * k;
    look.background_colour = marked ? kButtonAccent : hovered ? kButtonHovered : kButtonRest;
    look.icon_origin = {c.x - kIconGrid / 2.0 * s, c.y - kIconGrid / 2.0 * s};
    look.icon_scale = s;

    ToolbarIconStyle& style = look.style;
    style.stroke = dim ? kStrokeDim : marked ? kStrokeMarked : kStrokeRest;
    style.shade = !dim && marked ? kShadeMarked : kShadeRest;
    style.foreground = colours.box;
    style.contrast = colours.text;
    const bool selected = colour_button_selected(button.action, colour);
    style.swatch = selected ? SwatchState::Selected : SwatchState::Plain;
    const SwatchLook swatch = swatch_look(
        selected, toolbar_item_for_action(animations, ToolbarAnimationGroup::ColourMark, button.action, now),
        toolbar_item_for_action(animations, ToolbarAnimationGroup::HoveredColourMark, button.action, now), hovered);
    style.swatch_factor = swatch.swatch_factor;
    style.ring_opacity = swatch.ring_opacity;
    style.ring_factor = swatch.ring_factor;
    look.pair = {colour, colour};
    return look;
}

HintBox place_pointer_hint(const EditorState& state, double text_width, double shift) {
    const double s = anchor_monitor_scale(state);
    const double w = std::max(hint_width(text_width, s), kHintMinWidth * s);
    const double h = kHintHeight * s;
    const double W = state.frame_width, H = state.frame_height;
    const double left = std::max(std::min(state.pointer.x + kHintOffset * s + shift, W - w), 0.0);
    const double top = std::max(std::min(state.pointer.y + kHintOffset * s, H - h), 0.0);
    return hint_box_at(left, top, w, s);
}

HintBox place_toolbar_tooltip(const EditorState& state, const Box& item, double text_width) {
    const double s = anchor_monitor_scale(state);
    const Box area = region_or_image_rect(state, centre_of(item));
    const Box at = place_label_box(item, area, hint_width(text_width, s), kHintHeight * s, s);
    return hint_box_at(at.left, at.top, at.right - at.left, s);
}

std::optional<BrushCircle> brush_circle(const EditorState& state) {
    if (!brush_preview_visible(state)) return std::nullopt;
    const double s = anchor_monitor_scale(state);
    return BrushCircle{state.pointer, brush_preview_width(state).screen_diameter * 0.5, 3.0 * s, s};
}

double width_label_shift(const BrushCircle& circle) { return circle.radius; }

double wheel_hint_shift(const EditorState& state, const std::optional<BrushCircle>& circle) {
    return std::max(kWheelHintMinShift * anchor_monitor_scale(state), circle ? circle->radius : 0.0);
}

PromptLayout place_prompt(const EditorState& state, double title_width, double line_width) {
    const double s = anchor_monitor_scale(state);
    const double text = std::max({title_width, line_width, 0.0});
    const double w = std::max(text + kPromptPadding * s, kPromptMinWidth * s);
    const Box box = place_hint_box(state.pointer, region_or_image_rect(state, state.pointer), w,
                                   kPromptHeight * s, s);
    return {box,
            kPromptRadius * s,
            {box.left + 10.0 * s, box.top + 6.0 * s},
            {box.left + 10.0 * s, box.top + 26.0 * s},
            kPromptTitleSize * s,
            kPromptLineSize * s};
}

std::string selection_size_text(const Box& selection) { return selection_size_label(selection); }

}  // namespace glimmerly
