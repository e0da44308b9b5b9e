#include "core/editor/text_box.h"

#include "core/base/utf.h"
#include "core/document/point_math.h"
#include "core/document/scene.h"
#include "core/editor/history.h"
#include "core/editor/monitor_views.h"
#include "core/editor/object_ids.h"
#include "core/editor/selection_edits.h"
#include "core/editor/selection_geometry.h"
#include "core/editor/size_ladders.h"
#include "core/editor/text_edits.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_set>

namespace glimmerly {

namespace {

// A label's text stands this far inside its box, in letter sizes; a press
// point is the box's corner, so the text starts this far from it.
constexpr double kLabelInsetX = 0.4;
constexpr double kLabelInsetY = 0.25;
// A drag shorter than this (interface units) leaves a label that fits its
// text: a click must not make a box one pixel wide.
constexpr double kLabelDragSlop = 6.0;

bool usable_extent(Size e) { return std::isfinite(e.w) && std::isfinite(e.h) && e.w >= 0.0 && e.h >= 0.0; }

bool is_high_surrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool is_low_surrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

bool is_dropped_control(char32_t c) {
    if (c == U'\t' || c == U'\n' || c == U'\r') return false;
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

const std::vector<SceneObject>& objects_after_abandoning(const EditorState& state) {
    return state.saved_objects ? *state.saved_objects : state.objects.list();
}

const SceneObject* find_object(const std::vector<SceneObject>& objects, ObjectId id) {
    const auto it = std::find_if(objects.begin(), objects.end(), [id](const SceneObject& o) { return o.id == id; });
    return it == objects.end() ? nullptr : &*it;
}

Result<TextCommit> update_edited_object(EditorState& state, const TextBox& box, ObjectId id, std::string text,
                                        Size extent) {
    const SceneObject* current = find_object(objects_after_abandoning(state), id);
    if (!current || !as_text(*current) || !usable_text_size(box.size)) return TextCommit{TextCommitKind::Unchanged, {}};

    cancel_gesture(state);
    std::vector<SceneObject> earlier = state.objects;
    if (!box.makes_label() && trimmed_len(text) == 0) {
        // A stored scene holds no blank plain text: emptying one removes it.
        const ObjectId ids[] = {id};
        delete_objects_by_ids(state, ids);
        commit_objects(state, std::move(earlier));
        return TextCommit{TextCommitKind::Removed, {}};
    }
    SceneObject& object = *std::find_if(state.objects.edit().begin(), state.objects.edit().end(),
                                        [id](const SceneObject& o) { return o.id == id; });
    TextPayload& payload = *as_text(object);
    payload.text = std::move(text);
    payload.size = box.size;
    payload.extent = extent;
    payload.ink = payload.label.is_label() ? box.ink : std::nullopt;
    object.color = box.color;
    commit_objects(state, std::move(earlier));
    state.selection = {id};
    return TextCommit{TextCommitKind::Updated, id};
}

Result<TextCommit> add_new_text(EditorState& state, const TextBox& box, std::string text, Size extent) {
    if (!box.makes_label() && trimmed_len(text) == 0) return TextCommit{TextCommitKind::Dropped, {}};
    if (objects_after_abandoning(state).size() >= kMaxSceneObjects)
        return invalid_input("This capture already holds " + std::to_string(kMaxSceneObjects) +
                             " objects, the most it can store. Remove an object to add this text.");
    if (!usable_text_size(box.size))
        return invalid_input("Text size " + std::to_string(box.size) + " is outside 8..300");
    if (!add_text_object(state, box.at, std::move(text), extent, box.color, box.size, box.label, box.ink))
        return invalid_input("The text could not be added to the capture");
    const ObjectId id = state.objects.back().id;
    state.selection = {id};
    return TextCommit{TextCommitKind::Added, id};
}

}  // namespace

TextBoxOpening open_text_box_at(const EditorState& state, Point at, Tool tool) {
    TextBox box;
    if (const auto index = text_object_at(state.objects, at)) {
        const SceneObject& object = state.objects[*index];
        const TextPayload& text = *as_text(object);
        box.target = object.id;
        box.label = text.label;
        box.at = text.at;
        box.rotation = object.rotation;
        box.box_height = text.extent.h;
        box.size = static_cast<float>(text.size);
        box.color = object.color;
        box.ink = text.ink;
        return {box, text.text};
    }
    box.at = at;
    box.size = state.text_size;
    box.color = state.color;
    box.ink = state.label_ink;
    if (tool == Tool::Label) {
        box.label_drag = at;
        const LabelDragShape shape = label_drag_shape(at, at, box.size, ui_scale_over_zoom(state));
        box.at = shape.at;
        box.label = shape.label;
        box.box_height = shape.box_height;
    }
    return {box, {}};
}

std::int32_t round_to_i32(double v) {
    if (std::isnan(v)) return 0;
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(std::round(v), lo, hi));
}

EditPlacement text_box_edit_placement(const EditorState& state, const TextBox& box) {
    const auto reach = [](double edge, double from) { return std::max(round_to_i32(edge - from), 1); };
    return {round_to_i32(box.at.x), round_to_i32(box.at.y), reach(state.frame_width, box.at.x),
            reach(state.frame_height, box.at.y)};
}

std::int32_t text_box_font_height(double size) {
    // Clamped before the negation: -INT32_MIN is no i32.
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    if (std::isnan(size)) return 0;
    return -static_cast<std::int32_t>(std::clamp(std::round(size), -hi, hi));
}

TextBoxKey text_box_key(const EditorState& state, bool box_open, VirtualKey key, bool ctrl) {
    if (!box_open || state.colour_picker || state.eyedropper_armed) return TextBoxKey::PassOn;
    if (key == kVkEscape || (key == kVkReturn && ctrl)) return TextBoxKey::Commit;
    return TextBoxKey::PassOn;
}

std::string text_box_stored_text(std::u16string_view typed) {
    std::string out;
    out.reserve(typed.size());
    for (std::size_t i = 0; i < typed.size(); ++i) {
        char32_t c = typed[i];
        if (is_high_surrogate(typed[i]) && i + 1 < typed.size() && is_low_surrogate(typed[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (typed[i + 1] - 0xDC00);
            ++i;
        }
        if (is_dropped_control(c)) continue;
        append_utf8(out, c);  // a surrogate left alone becomes U+FFFD
    }
    return out;
}

Status text_box_accepts_insertion(std::u16string_view text, std::uint32_t start, std::uint32_t end,
                                  std::u16string_view inserted) {
    const std::size_t from = std::min<std::size_t>(std::min(start, end), text.size());
    const std::size_t to = std::min<std::size_t>(std::max(start, end), text.size());
    const std::size_t units = text.size() - (to - from) + inserted.size();
    const auto too_long = [](std::size_t length, const char* unit) {
        return invalid_input("With this insertion the text would be " + std::to_string(length) + " " + unit +
                             " long; a capture keeps at most " + std::to_string(kMaxTextBytes) +
                             " bytes of one text. Nothing was inserted.");
    };
    if (units > kTextBoxUnitLimit) return too_long(units, "characters");
    std::u16string after;
    after.reserve(units);
    after.append(text.substr(0, from)).append(inserted).append(text.substr(to));
    const std::size_t bytes = text_box_stored_text(after).size();
    if (bytes > kMaxTextBytes) return too_long(bytes, "bytes");
    return ok_status();
}

Size committed_text_extent(const TextBox& box, std::string_view text, Size measured) {
    if (!box.makes_label() || trimmed_len(text) != 0) return measured;
    const double least_w = box.label.kind == LabelKind::Wrap ? box.label.wrap_width : double{box.size};
    return {std::max(measured.w, least_w), std::max(measured.h, box.box_height)};
}

Size text_box_frame(const TextBox& box, std::string_view text, Size measured) {
    Size frame = committed_text_extent(box, text, measured);
    if (box.label.kind == LabelKind::Wrap) frame.w = box.label.wrap_width;
    return frame;
}

Result<TextCommit> commit_text_box(EditorState& state, const TextBox& box, std::string text,
                                   const Result<Size>& measured) {
    if (!measured) return measured.failure();
    if (text.size() > kMaxTextBytes)
        return invalid_input("This text is " + std::to_string(text.size()) + " bytes long; a capture keeps at most " +
                             std::to_string(kMaxTextBytes) + " bytes of one text. Shorten it to keep it.");
    if (!usable_extent(*measured)) return invalid_input("Text layout gave no usable size for this text");
    const Size extent = committed_text_extent(box, text, *measured);
    if (box.target) return update_edited_object(state, box, *box.target, std::move(text), extent);
    return add_new_text(state, box, std::move(text), extent);
}

LabelDragShape label_drag_shape(Point press, Point pointer, double size, double scale_over_zoom) {
    const double dx = std::abs(pointer.x - press.x), dy = std::abs(pointer.y - press.y);
    if (!is_finite(pointer) || std::max(dx, dy) < kLabelDragSlop * scale_over_zoom)
        return {{press.x + kLabelInsetX * size, press.y + kLabelInsetY * size}, LabelMode::fit(), 0.0};
    const Point corner{std::min(press.x, pointer.x), std::min(press.y, pointer.y)};
    return {{corner.x + kLabelInsetX * size, corner.y + kLabelInsetY * size},
            LabelMode::wrap(std::max(dx - 2.0 * kLabelInsetX * size, size)),
            std::max(dy - 2.0 * kLabelInsetY * size, 0.0)};
}

bool drag_label_box(const EditorState& state, TextBox& box, Point pointer) {
    if (!box.label_drag) return false;
    const LabelDragShape shape = label_drag_shape(*box.label_drag, pointer, box.size, ui_scale_over_zoom(state));
    box.at = shape.at;
    box.label = shape.label;
    box.box_height = shape.box_height;
    return true;
}

Point text_box_layout_point(const TextBox& box, Size frame, Point point) {
    const Point centre{box.at.x + frame.w / 2.0, box.at.y + frame.h / 2.0};
    return Turn(-box.rotation).about(point, centre) - box.at;
}

std::uint32_t text_box_hit_index(std::uint32_t position, std::uint32_t length, bool trailing) {
    return trailing ? position + length : position;
}

std::optional<TextSelectionRange> press_in_text_box(TextBox& box, std::uint32_t hit, bool inside, bool shift,
                                                    std::uint32_t selection_start) {
    if (!inside) return std::nullopt;
    box.select_anchor = shift ? selection_start : hit;
    return TextSelectionRange{*box.select_anchor, hit};
}

std::optional<TextSelectionRange> drag_text_selection(const TextBox& box, std::uint32_t hit) {
    if (!box.select_anchor) return std::nullopt;
    return TextSelectionRange{*box.select_anchor, hit};
}

bool end_text_selection(TextBox& box) {
    const bool selecting = box.select_anchor.has_value();
    box.select_anchor.reset();
    return selecting;
}

void apply_text_box_size(EditorState& state, TextBox& box, float size) {
    box.size = size;
    state.text_size = size;
}

}  // namespace glimmerly
