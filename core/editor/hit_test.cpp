#include "core/editor/hit_test.h"

#include "core/document/point_math.h"
#include "core/editor/editor_state.h"
#include "core/editor/id_set.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace glimmerly {

namespace {

// Label width handles reach this many interface units beyond the label.
constexpr double kWidthHandleReach = 22.0;
// Shapes thinner than this have no inside.
constexpr double kMinInteriorSide = 0.001;

bool box_holds(const Box& b, Point p) { return p.x >= b.left && p.x <= b.right && p.y >= b.top && p.y <= b.bottom; }

bool box_within(const Box& inner, const Box& outer) {
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
           inner.bottom <= outer.bottom;
}

bool near_polyline(std::span<const Point> points, Point p, double tolerance) {
    for (std::size_t i = 1; i < points.size(); ++i)
        if (distance_to_segment(p, points[i - 1], points[i]) <= tolerance) return true;
    return false;
}

// Edges count as inside: the three turns from each edge to the point agree
// in sign or vanish.
bool in_triangle(Point a, Point b, Point c, Point p) {
    // A head collapsed to a point or a segment (a line of width 0) has no
    // inside; without this every sign test is 0 and every point "inside".
    if (!(std::abs(cross(b - a, c - a)) > 0.0)) return false;
    const double d1 = cross(b - a, p - a), d2 = cross(c - b, p - b), d3 = cross(a - c, p - c);
    return (d1 >= 0.0 && d2 >= 0.0 && d3 >= 0.0) || (d1 <= 0.0 && d2 <= 0.0 && d3 <= 0.0);
}

bool hit_rectangle_outline(const SceneObject& object, Point p, double tolerance) {
    const auto corners = rotated_rect_corners(*object_rect(object), object.rotation);
    for (std::size_t i = 0; i < 4; ++i)
        if (distance_to_segment(p, corners[i], corners[(i + 1) % 4]) <= tolerance) return true;
    return false;
}

bool hit_ellipse_outline(const SceneObject& object, Point p, double tolerance, SceneObjects objects) {
    const double reach = tolerance + object.width / 2.0;
    if (!box_holds(grow_box(rotated_object_bounds(object), reach + 0.5), p)) return false;
    for (const Polyline& outline : build_object_geometry(object, objects))
        if (near_polyline(outline, p, reach)) return true;
    return false;
}

// Where a line's outline can reach at most: its curve's box grown by the head
// (3.84 widths long, 0.45 of that to each side), half the width and the
// tolerance. Testing it first spares the outline of most lines far away.
bool line_may_reach(const SceneObject& object, const LinePayload& line, Point p, double tolerance,
                    SceneObjects objects) {
    if (line.elbow || !(object.width >= 0.0) || !std::isfinite(object.width)) return true;
    const auto ends = resolve_arrow_ends(object, objects);
    if (!ends) return false;
    const auto box = bend_curve_bounds(ends->from, ends->to, line.bend);
    if (!box) return false;
    return box_holds(grow_box(*box, tolerance + 5.0 * object.width + 1.0), p);
}

bool hit_line_outline(const SceneObject& object, const LinePayload& line, Point p, double tolerance,
                      SceneObjects objects) {
    if (!line_may_reach(object, line, p, tolerance, objects)) return false;
    const auto outline = build_object_geometry(object, objects);
    if (outline.empty()) return false;
    // The head is drawn filled, so its whole inside is the arrow.
    if (line.head && outline.size() > 1 && outline[1].size() >= 3 &&
        in_triangle(outline[1][0], outline[1][1], outline[1][2], p))
        return true;
    const double reach = tolerance + object.width / 2.0;
    for (const Polyline& part : outline)
        if (near_polyline(part, p, reach)) return true;
    return false;
}

bool hit_stroke_outline(const SceneObject& object, const StrokePayload& stroke, Point p, double tolerance) {
    double widest = std::isnan(object.width) ? 0.0 : object.width;
    for (double w : stroke.widths)
        if (!std::isnan(w)) widest = std::max(widest, w);
    const double factor = stroke.highlight ? kHighlighterFactor : 1.0;
    // Stroke outlines are drawn from the stored points without a turn, so the
    // reject box is the points' own box.
    if (!box_holds(grow_box(object_bounds(object), factor * widest / 2.0 + tolerance + 0.5), p)) return false;
    for (const StrokePiece& piece : flatten_path(object))
        if (piece.points.size() >= 2 && near_polyline(piece.points, p, piece.width / 2.0 + tolerance)) return true;
    return false;
}

bool hit_text_box(const SceneObject& object, Point p) {
    const Box b = object_bounds(object);
    return box_holds(b, rotate_point(p, box_centre(b), -object.rotation));
}

bool is_fill_cutter(const SceneObject& object) {
    return object.kind() == ObjectKind::Rectangle || object.kind() == ObjectKind::Ellipse;
}

bool names(const FillRegion& region, ObjectId id) {
    return std::find(region.ids.begin(), region.ids.end(), id) != region.ids.end();
}

}  // namespace

double distance_to_segment(Point p, Point a, Point b) {
    const Point d = b - a;
    const double squared = dot(d, d);
    if (squared < std::numeric_limits<double>::epsilon()) return distance(p, a);
    const double t = std::clamp(dot(p - a, d) / squared, 0.0, 1.0);
    return distance(p, a + d * t);
}

bool hit_object_outline(const SceneObject& object, Point point, double tolerance, SceneObjects objects) {
    if (!is_finite(point)) return false;
    switch (object.kind()) {
    case ObjectKind::Rectangle: return hit_rectangle_outline(object, point, tolerance);
    case ObjectKind::Ellipse: return hit_ellipse_outline(object, point, tolerance, objects);
    case ObjectKind::Arrow: return hit_line_outline(object, *as_line(object), point, tolerance, objects);
    case ObjectKind::Stroke: return hit_stroke_outline(object, *as_stroke(object), point, tolerance);
    case ObjectKind::Text: return hit_text_box(object, point);
    case ObjectKind::Blur: return box_holds(grow_box(*object_rect(object), tolerance), point);
    }
    return false;
}

bool hit_object_interior(const SceneObject& object, Point point) {
    if (!is_fill_cutter(object)) return false;
    const Box b = object_bounds(object);
    const double w = b.right - b.left, h = b.bottom - b.top;
    if (!(w >= kMinInteriorSide) || !(h >= kMinInteriorSide)) return false;
    const Point q = offset_in_object(object, point);
    if (!is_finite(q)) return false;
    const double hx = w / 2.0 + object.width / 2.0, hy = h / 2.0 + object.width / 2.0;
    if (object.kind() == ObjectKind::Rectangle) return std::abs(q.x) <= hx && std::abs(q.y) <= hy;
    return std::hypot(q.x / hx, q.y / hy) <= 1.0;
}

std::optional<std::size_t> fill_region_at(std::span<const FillRegion> regions, Point point,
                                          std::span<const SceneObject> objects, std::size_t first) {
    if (regions.empty()) return std::nullopt;
    if (first >= objects.size()) return regions.size() - 1;
    for (std::size_t r = regions.size(); r-- > 0;) {
        bool cut = false;
        // The inside test is a few multiplications; the id search only runs
        // for the shapes the point is inside.
        for (std::size_t i = first; i < objects.size() && !cut; ++i)
            cut = is_fill_cutter(objects[i]) && hit_object_interior(objects[i], point) &&
                  names(regions[r], objects[i].id);
        if (!cut) return r;
    }
    return std::nullopt;
}

std::vector<ObjectId> ids_in_rect(const EditorState& state, const Box& marquee) {
    std::vector<ObjectId> taken;
    const IdSet selected(state.selection);
    // Attached lines look their targets up; an index spares each a search of
    // the whole scene, but only scenes with attachments need one.
    const bool attached = std::any_of(state.objects.begin(), state.objects.end(), [](const SceneObject& o) {
        const auto* line = as_line(o);
        return line && (line->start || line->end);
    });
    std::optional<ObjectIndex> index;
    if (attached) index.emplace(state.objects);
    const SceneObjects scene = index ? SceneObjects(state.objects, *index) : SceneObjects(state.objects);
    for (const SceneObject& object : state.objects)
        if (box_within(object_bounds_in_scene(object, scene), marquee) && !selected.contains(object.id))
            taken.push_back(object.id);
    return taken;
}

std::optional<ObjectId> hit_text_width_handle(const EditorState& state, Point point) {
    if (state.saved_objects || !is_finite(point)) return std::nullopt;
    if (state.selection.size() == 1)
        if (const SceneObject* only = find_object(state.objects, state.selection.front()); only && is_label(*only))
            return only->id;
    if (state.tool != Tool::Select && state.tool != Tool::Arrow) return std::nullopt;
    const double reach = kWidthHandleReach * state.interface_scale;
    for (auto it = state.objects.rbegin(); it != state.objects.rend(); ++it) {
        if (!is_label(*it)) continue;
        const Box b = object_bounds(*it);
        if (box_holds(grow_box(b, reach), rotate_point(point, box_centre(b), -it->rotation))) return it->id;
    }
    return std::nullopt;
}

std::optional<SelectedArrow> selected_arrow_ends(const EditorState& state) {
    std::optional<ObjectId> candidate;
    if (state.tool == Tool::Line || state.tool == Tool::Arrow) {
        if (state.saved_objects) return std::nullopt;
        candidate = state.last_drawn_arrow;
    } else if (state.tool == Tool::Select) {
        if (state.selection.size() == 1) candidate = state.selection.front();
    }
    if (!candidate) return std::nullopt;

    const auto it = std::find_if(state.objects.begin(), state.objects.end(),
                                 [&](const SceneObject& o) { return o.id == *candidate; });
    if (it == state.objects.end()) return std::nullopt;
    const auto* line = as_line(*it);
    if (!line || line->elbow) return std::nullopt;
    const auto ends = resolve_arrow_ends(*it, state.objects);
    if (!ends) return std::nullopt;
    const Point d = ends->to - ends->from;
    const Point middle = (ends->from + ends->to) * 0.5;
    return SelectedArrow{static_cast<std::size_t>(it - state.objects.begin()),
                         middle + d * line->bend.x + perpendicular(d) * line->bend.y};
}

}  // namespace glimmerly
