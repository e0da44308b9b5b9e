#pragma once
// The decisions behind the site-preview films' scripted input: the eased
// path every scripted movement follows, which toolbar button an action word
// clicks, the units a typed text is sent as, and the small readings of a
// scene that the films' checks share. The Windows side sends the moves,
// presses and characters through the editor's own handlers.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/base/result.h"
#include "core/base/rgb.h"
#include "core/document/scene_object.h"
#include "core/editor/editor_state.h"
#include "core/editor/toolbar.h"

namespace glimmerly {

// s(t) = t t (3 - 2 t): starts and ends at rest.
double smoothstep(double t);

// Step `i` (1..n) of an eased movement of `n` steps from `from` to `to`:
// the first step is already off `from`, step n is exactly `to`.
Point eased_step(Point from, Point to, std::uint32_t i, std::uint32_t n);

// Step `i` (1..n) of a turn of `handle` about `centre` by up to `degrees`
// (negative turns counter-clockwise on screen), eased like a movement.
Point turned_step(Point centre, Point handle, double degrees, std::uint32_t i, std::uint32_t n);

// The first button, in layout order, that the word clicks: a tool button by
// its tool, a colour button (and a copy-colour-code button) by all three
// colour bytes, every other button by its code alone.
std::optional<std::size_t> find_toolbar_button(std::span<const ToolbarButton> buttons, EditorAction word);

// The UTF-16 units a text is typed as: a character above U+FFFF gives its
// high surrogate, then its low one. Invalid UTF-8 becomes U+FFFD.
std::u16string typed_units(std::string_view text);

// What the films type for a line break: the multi-line EDIT control starts a
// new line on a carriage return.
std::string with_carriage_returns(std::string_view text);

// The bounds of the last object in its scene; "nothing drawn" for none.
Result<Box> last_object_bounds(std::span<const SceneObject> objects);

// The first arrow or line of a scene as it was drawn.
struct ArrowGeometry {
    Point start;
    Point end;
    double width = 0.0;
    Rgb colour;

    friend bool operator==(const ArrowGeometry&, const ArrowGeometry&) = default;
};
// "missing arrow" for a scene without one.
Result<ArrowGeometry> first_arrow_geometry(std::span<const SceneObject> objects);

// Only the tip moved: the same start and width, strictly longer, and turned
// by more than a right angle (the directions' cosine below 0).
bool arrow_turned_past_right_angle(const ArrowGeometry& before, const ArrowGeometry& after);

}  // namespace glimmerly
