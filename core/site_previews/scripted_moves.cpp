#include "core/site_previews/scripted_moves.h"

#include <cmath>
#include <numbers>

#include "core/base/utf.h"
#include "core/document/geometry.h"

namespace glimmerly {

double smoothstep(double t) { return t * t * (3.0 - 2.0 * t); }

Point eased_step(Point from, Point to, std::uint32_t i, std::uint32_t n) {
    if (n == 0 || i >= n) return to;
    const double s = smoothstep(static_cast<double>(i) / static_cast<double>(n));
    return {from.x + (to.x - from.x) * s, from.y + (to.y - from.y) * s};
}

Point turned_step(Point centre, Point handle, double degrees, std::uint32_t i, std::uint32_t n) {
    const double t = n == 0 ? 1.0 : static_cast<double>(i) / static_cast<double>(n);
    const double a = degrees * smoothstep(t) * std::numbers::pi / 180.0;
    const double dx = handle.x - centre.x, dy = handle.y - centre.y;
    return {centre.x + dx * std::cos(a) - dy * std::sin(a), centre.y + dx * std::sin(a) + dy * std::cos(a)};
}

std::optional<std::size_t> find_toolbar_button(std::span<const ToolbarButton> buttons, EditorAction word) {
    const std::uint32_t code = word & 0xFFu;
    const auto matches = [&](EditorAction action) {
        if ((action & 0xFFu) != code) return false;
        switch (static_cast<EditorActionCode>(code)) {
            case EditorActionCode::ChooseTool: return (editor_action_argument(action) & 0xFFu) == (editor_action_argument(word) & 0xFFu);
            case EditorActionCode::Colour:
            case EditorActionCode::CopyColourCode: return editor_action_argument(action) == editor_action_argument(word);
            default: return true;
        }
    };
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (matches(buttons[i].action)) return i;
    return std::nullopt;
}

std::u16string typed_units(std::string_view text) { return utf8_to_utf16_lossy(text); }

std::string with_carriage_returns(std::string_view text) {
    std::string typed(text);
    for (char& c : typed)
        if (c == '\n') c = '\r';
    return typed;
}

Result<Box> last_object_bounds(std::span<const SceneObject> objects) {
    if (objects.empty()) return plain_failure("nothing drawn");
    return object_bounds_in_scene(objects.back(), objects);
}

Result<ArrowGeometry> first_arrow_geometry(std::span<const SceneObject> objects) {
    for (const SceneObject& object : objects)
        if (const LinePayload* line = as_line(object))
            return ArrowGeometry{line->from, line->to, object.width, object.color};
    return plain_failure("missing arrow");
}

bool arrow_turned_past_right_angle(const ArrowGeometry& before, const ArrowGeometry& after) {
    if (before.start != after.start || before.width != after.width) return false;
    const double bx = before.end.x - before.start.x, by = before.end.y - before.start.y;
    const double ax = after.end.x - after.start.x, ay = after.end.y - after.start.y;
    const double before_length = std::hypot(bx, by), after_length = std::hypot(ax, ay);
    if (!(after_length > before_length)) return false;
    return (bx * ax + by * ay) / (before_length * after_length) < 0.0;
}

}  // namespace glimmerly
