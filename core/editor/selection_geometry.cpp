#include "core/editor/selection_geometry.h"

#include "core/document/point_math.h"
#include "core/editor/chrome_math.h"
#include "core/editor/handles.h"
#include "core/editor/hit_test.h"
#include "core/editor/id_set.h"
#include "core/editor/monitor_views.h"
#include "core/editor/toolbar.h"

#include <algorithm>
#include <cmath>

namespace glimmerly {

namespace {

constexpr double kHandleReach = 8.0;  // units
constexpr double kPopupMargin = 8.0;  // units

// Size panel measures, in units.
constexpr double kPanelHeight = 26.0;
constexpr double kPanelGap = 4.0;  // between the panel and its square button
constexpr double kPanelLift = 6.0;
constexpr double kDefaultContent = 92.0;
constexpr double kPanelPadding = 16.0;
constexpr double kFieldGap = 14.0;
constexpr double kFieldMin = 8.0;

double frame_w(const EditorState& s) { return static_cast<double>(s.frame_width); }
double frame_h(const EditorState& s) { return static_cast<double>(s.frame_height); }

Point centre_of(const Box& b) { return {(b.left + b.right) * 0.5, (b.top + b.bottom) * 0.5}; }

// A measurement that is no number or negative would spread NaN into the
// panel; it counts as not measured.
bool usable_width(double w) { return std::isfinite(w) && w >= 0.0; }

const SceneObject* selected_label(const EditorState& state) {
    const IdSet selected(state.selection);
    for (const SceneObject& o : state.objects)
        if (is_label(o) && selected.contains(o.id)) return &o;
    return nullptr;
}

bool point_in_text(const SceneObject& o, Point p) {
    const Box b = object_bounds(o);
    // Turn the point back into the text's own frame.
    const Point local = rotate_point(p, box_centre(b), -o.rotation);
    return box_contains(b, local);
}

}  // namespace

std::optional<Rgb> sample_frame_pixel(const EditorState& state, Point point) {
    const BgraImage& f = state.frozen_frame;
    if (!is_valid_bgra_image(f)) return std::nullopt;
    // A coordinate that is no number reads column or row 0.
    const auto index = [](double v, std::uint32_t size) {
        return static_cast<std::size_t>(clamp_into(std::trunc(v), 0.0, static_cast<double>(size - 1)));
    };
    const std::size_t at = (index(point.y, f.height) * f.width + index(point.x, f.width)) * 4;
    return Rgb{f.pixels[at + 2], f.pixels[at + 1], f.pixels[at]};
}

bool apply_preset_selection(EditorState& state, const Box& r) {
    const bool fits = r.right - r.left >= kMinSelectionSide && r.bottom - r.top >= kMinSelectionSide &&
                      0.0 <= r.left && r.right <= frame_w(state) && 0.0 <= r.top && r.bottom <= frame_h(state);
    if (!fits) return false;
    state.capture_selection = r;
    state.selecting = false;
    state.preset_selection = true;
    refresh_ui_scale(state);
    return true;
}

std::optional<SelectionHandle> selection_handle_at(const EditorState& state, Point point) {
    const auto& sel = state.capture_selection;
    if (!sel) return std::nullopt;
    const double radius = kHandleReach * anchor_monitor_scale(state);
    const Point c = centre_of(*sel);
    const std::array<Point, 8> handles = {Point{sel->left, sel->top},     Point{c.x, sel->top},
                                          Point{sel->right, sel->top},    Point{sel->right, c.y},
                                          Point{sel->right, sel->bottom}, Point{c.x, sel->bottom},
                                          Point{sel->left, sel->bottom},  Point{sel->left, c.y}};
    for (std::size_t i = 0; i < handles.size(); ++i)
        if (distance(point, handles[i]) <= radius) return static_cast<SelectionHandle>(i);
    return std::nullopt;
}

Box normalised_box(Point a, Point b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

Box reshape_selection(const Box& before, SelectionHandle handle, Point point) {
    using H = SelectionHandle;
    Point a{before.left, before.top}, b{before.right, before.bottom};
    if (handle == H::TopLeft || handle == H::BottomLeft || handle == H::Left) a.x = point.x;
    if (handle == H::TopRight || handle == H::Right || handle == H::BottomRight) b.x = point.x;
    if (handle == H::TopLeft || handle == H::Top || handle == H::TopRight) a.y = point.y;
    if (handle == H::BottomRight || handle == H::Bottom || handle == H::BottomLeft) b.y = point.y;
    return normalised_box(a, b);
}

void toggle_full_screen_selection(EditorState& state) {
    if (!state.capture_selection) return;
    if (state.previous_selection && *state.capture_selection == state.previous_selection->full_screen) {
        state.capture_selection = state.previous_selection->selection;
        state.previous_selection.reset();
        return;
    }
    Point reference = centre_of(*state.capture_selection);
    if (!state.selecting)
        if (const auto panel = place_size_panel(state)) reference = centre_of(panel->button);
    Box full = region_or_image_rect(state, reference);
    // Full screen in a reopened document is the document's part of that
    // screen: the margin around it is no picture.
    if (const auto& own = state.document_area) {
        const Box part{std::max(full.left, own->left), std::max(full.top, own->top), std::min(full.right, own->right),
                       std::min(full.bottom, own->bottom)};
        full = part.left < part.right && part.top < part.bottom ? part : *own;
    }
    state.previous_selection = PreviousSelection{*state.capture_selection, full};
    state.capture_selection = full;
}

std::optional<SizePanel> place_size_panel(const EditorState& state) {
    if (state.board_mode || !state.capture_selection) return std::nullopt;
    const Box& sel = *state.capture_selection;
    const double s = anchor_monitor_scale(state);
    const double W = frame_w(state), H = frame_h(state);
    const double h = std::min(kPanelHeight * s, H);
    const double room_w = std::max(W - kPanelGap * s - h, 0.0);

    double content = kDefaultContent * s;
    std::optional<std::array<double, 2>> fields;  // field widths
    if (const auto* w = std::get_if<double>(&state.size_panel_widths); w && usable_width(*w)) {
        content = std::ceil(*w / s) * s;
    } else if (const auto* pair = std::get_if<std::array<double, 2>>(&state.size_panel_widths);
               pair && usable_width((*pair)[0]) && usable_width((*pair)[1])) {
        const double pad = std::max(2.0 * s, 14.0 * s / 12.0) * 1.5;
        double a = std::ceil(std::max(pad + (*pair)[0], kFieldMin * s) / s);
        double b = std::ceil(std::max(pad + (*pair)[1], kFieldMin * s) / s);
        const double room = std::max((room_w - kPanelPadding * s - kFieldGap * s) / s, 0.0);
        const double half = std::floor(room / 2.0);
        if (a + b > room) {
            if (half >= a) {
                b = room - a;
            } else if (half >= b) {
                a = room - b;
            } else {
                a = half;
                b = room - half;
            }
        }
        fields = std::array<double, 2>{a * s, b * s};
        content = kFieldGap * s + a * s + b * s;
    }
    const double P = std::min(content + kPanelPadding * s, room_w);
    const double T = std::min(kPanelGap * s + P + h, W);
    const double X = clamp_into(sel.right - T, 0.0, W - T);
    const double Y = clamp_into(sel.top - h - kPanelLift * s, 0.0, H - h);

    SizePanel out{{X, Y, X + P, Y + h}, {X + T - h, Y, X + T, Y + h}, std::nullopt};
    if (fields) {
        const double left = X + kPanelPadding / 2.0 * s, top = Y + 3.0 * s, bottom = Y + 23.0 * s;
        const Box width{left, top, left + (*fields)[0], bottom};
        const double next = width.right + kFieldGap * s;
        out.fields = SizeFieldRects{width, {next, top, next + (*fields)[1], bottom}};
    }
    return out;
}

std::optional<Point> clamp_popup_position(const EditorState& state) {
    const auto handle = rotation_handle_position(state);
    if (!handle) return std::nullopt;
    const double m = kPopupMargin * anchor_monitor_scale(state);
    const double W = frame_w(state), H = frame_h(state);
    return Point{clamp_into(handle->x, m, std::max(W - m, m)), clamp_into(handle->y, m, std::max(H - m, m))};
}

Rgb automatic_text_colour(Rgb box) { return contrast_color(box); }

SelectionColourState selection_colour_state(const EditorState& state, Rgb colour, InkChoice ink) {
    const auto with_ink = [](Rgb box, std::optional<Rgb> text) {
        if (text) return SelectionColourState{box, *text, false};
        return SelectionColourState{box, automatic_text_colour(box), true};
    };
    if (ink.source == InkSource::Colour) return with_ink(colour, ink.colour);
    if (ink.source == InkSource::Automatic) return with_ink(colour, std::nullopt);
    if (const SceneObject* label = selected_label(state)) return with_ink(label->color, as_text(*label)->ink);
    return with_ink(colour, state.label_ink);
}

bool fill_hover_enabled(const EditorState& state) {
    if (state.selecting || state.colour_picker || state.eyedropper_armed || state.pan || state.space_held) return false;
    if (point_on_toolbar(state, state.pointer)) return false;
    if (const auto panel = place_size_panel(state))
        if (box_contains(panel->panel, state.pointer) || box_contains(panel->button, state.pointer)) return false;
    return !selection_handle_at(state, map_pointer_to_monitor(state));
}

std::optional<FillTarget> fill_preview_target(const EditorState& state) {
    if (!state.fill_mode || !fill_hover_enabled(state)) return std::nullopt;
    const Point p = map_pointer_to_monitor(state);
    if (!state.capture_selection || !box_contains(*state.capture_selection, p)) return std::nullopt;
    return fill_target_at(state, p, false);
}

bool drawing_cursor_active(const EditorState& state) {
    const auto tool = static_cast<std::uint8_t>(state.tool);
    if (!state.crosshair_cursor || state.fill_mode || state.eyedropper_armed || state.colour_picker) return false;
    if (!state.capture_selection || state.selecting || tool < 1 || tool > 9) return false;
    const Point p = state.pointer;
    if (!(0.0 <= p.x && p.x < frame_w(state) && 0.0 <= p.y && p.y < frame_h(state))) return false;
    return !point_on_toolbar(state, p);
}

bool brush_preview_visible(const EditorState& state) {
    if (state.fill_mode || point_on_toolbar(state, state.pointer)) return false;
    if (state.size_preview) return true;
    const bool brush = state.tool == Tool::Pen || state.tool == Tool::Highlighter || state.tool == Tool::Eraser;
    return brush && state.capture_selection && !state.selecting;
}

std::optional<std::size_t> text_object_at(std::span<const SceneObject> objects, Point point) {
    for (std::size_t i = objects.size(); i-- > 0;)
        if (objects[i].kind() == ObjectKind::Text && point_in_text(objects[i], point)) return i;
    return std::nullopt;
}

std::vector<ObjectId> hover_highlight_targets(const EditorState& state) {
    if (const auto marquee = marquee_rect(state)) return ids_in_rect(state, *marquee);
    if (state.fill_mode || !fill_hover_enabled(state)) return {};
    if (state.tool != Tool::Select || state.saved_objects) return {};
    const Point p = map_pointer_to_monitor(state);
    if (hit_selection_handles(state, p).gesture) return {};
    const auto id = object_at_point(state, p);
    if (!id || IdSet(state.selection).contains(*id)) return {};
    return {*id};
}

}  // namespace glimmerly
