#include "core/editor/text_edits.h"

#include "core/document/geometry.h"
#include "core/document/point_math.h"
#include "core/document/scene.h"
#include "core/editor/editor_state.h"
#include "core/editor/history.h"
#include "core/editor/object_ids.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <unordered_set>

namespace glimmerly {

namespace {

// The letter size and per-character extent of texts placed without a layout.
constexpr double kSizedTextSize = 24.0;
constexpr double kSizedCharWidth = 0.65;
constexpr double kSizedLineHeight = 1.4;

// -0.0 is not negative.
bool usable_extent(double v) { return std::isfinite(v) && v >= 0.0; }

// Characters as Unicode scalar values: every byte that does not continue a
// UTF-8 sequence starts one.
std::size_t scalar_count(std::string_view text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

const std::vector<SceneObject>& objects_after_abandoning(const EditorState& state) {
    return state.saved_objects ? *state.saved_objects : state.objects.list();
}

}  // namespace

bool add_text_object(EditorState& state, Point at, std::string text, Size extent, Rgb color, double size,
                     LabelMode label, std::optional<Rgb> ink) {
    if (!label.is_label() && trimmed_len(text) == 0) return false;
    if (!is_finite(at) || !usable_text_size(size)) return false;
    if (!usable_extent(extent.w) || !usable_extent(extent.h)) return false;
    if (label.kind == LabelKind::Wrap && !(std::isfinite(label.wrap_width) && label.wrap_width > 0.0)) return false;
    // A text or a scene that a stored scene cannot hold would make the capture
    // fail only when it is saved, with the text already typed in vain.
    if (text.size() > kMaxTextBytes || objects_after_abandoning(state).size() >= kMaxSceneObjects) return false;

    cancel_gesture(state);
    const auto id = take_ids_for_new_objects(state, 1);
    if (!id) return false;
    std::vector<SceneObject> earlier = state.objects;

    TextPayload payload;
    payload.label = label;
    payload.text = std::move(text);
    payload.at = at;
    payload.size = size;
    payload.extent = extent;
    if (label.is_label()) payload.ink = ink;
    state.objects.push_back(SceneObject{*id, std::move(payload), color, state.stroke_width, 0.0, {}});
    commit_objects(state, std::move(earlier));
    return true;
}

void add_sized_text_object(EditorState& state, Point at, std::string text) {
    if (trimmed_len(text) == 0) return;
    std::size_t lines = 0, widest = 0;
    std::string_view rest = text;
    for (;;) {
        ++lines;
        const std::size_t feed = rest.find('\n');
        widest = std::max(widest, scalar_count(rest.substr(0, feed)));
        if (feed == std::string_view::npos) break;
        rest.remove_prefix(feed + 1);
    }
    const double w = static_cast<double>(widest) * kSizedTextSize * kSizedCharWidth;
    const double h = static_cast<double>(lines) * kSizedTextSize * kSizedLineHeight;
    (void)add_text_object(state, at, std::move(text), {w, h}, state.color, kSizedTextSize, LabelMode::none(),
                          std::nullopt);
}

void apply_text_edits(EditorState& state, std::span<const TextSizeEdit> edits) {
    // An empty wheel turn must not end a drag in progress.
    if (edits.empty()) return;
    const std::vector<SceneObject>& current = objects_after_abandoning(state);
    const ObjectIndex index(current);
    for (const TextSizeEdit& edit : edits) {
        if (!usable_text_size(edit.size) || !usable_extent(edit.extent.w) || !usable_extent(edit.extent.h)) return;
        const auto position = index.position(edit.id);
        if (!position || !as_text(current[*position])) return;
    }

    cancel_gesture(state);
    std::vector<SceneObject> earlier = state.objects;
    for (const TextSizeEdit& edit : edits) {
        const auto position = index.position(edit.id);
        TextPayload& text = *as_text(state.objects.edit()[*position]);
        double w = edit.extent.w, h = edit.extent.h;
        if (text.label.is_label() && trimmed_len(text.text) == 0) {
            // A blank label has nothing to measure: it keeps a box that grows
            // with its letter size so that it stays visible and clickable.
            const double measured_w = text.label.kind == LabelKind::Wrap ? text.label.wrap_width : edit.extent.w;
            w = std::max(measured_w, edit.size);
            const double grown_h = text.extent.h * edit.size / text.size;
            h = std::isfinite(grown_h) ? std::max(edit.extent.h, grown_h) : edit.extent.h;
        }
        text.extent = {w, h};
        text.size = edit.size;
    }
    commit_objects(state, std::move(earlier));
}

void set_selected_text_ink(EditorState& state, std::optional<Rgb> ink) {
    if (state.saved_objects && state.gesture.kind() == GestureKind::DrawNew) return;
    cancel_gesture(state);
    std::vector<SceneObject> earlier = state.objects;
    const std::unordered_set<ObjectId> selected(state.selection.begin(), state.selection.end());
    for (SceneObject& object : state.objects.edit())
        if (selected.contains(object.id) && is_label(object)) as_text(object)->ink = ink;
    commit_objects(state, std::move(earlier));
}

}  // namespace glimmerly
