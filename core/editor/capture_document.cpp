#include "core/editor/capture_document.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/blur/blur.h"
#include "core/editor/carry.h"
#include "core/editor/chrome_math.h"
#include "core/editor/editor_state.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

Failure not_editable_capture(std::string detail) {
    return make_app_error(TextId::error_not_editable_capture, {{"detail", std::move(detail)}});
}

std::optional<PixelArea> kept_area(const EditorState& editor, const Box& selection) {
    const Box rounded{std::floor(selection.left), std::floor(selection.top), std::ceil(selection.right),
                      std::ceil(selection.bottom)};
    // A reopened document keeps its own area, not the screens it is shown
    // on: the margin around it holds no picture.
    if (const auto& own = editor.document_area)
        return whole_pixel_area(box_union(rounded, *own), editor.frame_width, editor.frame_height);
    if (editor.monitor_areas.empty())
        return whole_pixel_area({0, 0, static_cast<double>(editor.frame_width), static_cast<double>(editor.frame_height)},
                                editor.frame_width, editor.frame_height);
    Box kept = rounded;
    for (const MonitorArea& monitor : editor.monitor_areas) {
        const Box& m = monitor.rect;
        // A comparison with NaN fails, so a monitor with a NaN edge never grows the area.
        const bool overlaps =
            m.left < rounded.right && m.right > rounded.left && m.top < rounded.bottom && m.bottom > rounded.top;
        if (!overlaps) continue;
        kept = {std::min(kept.left, m.left), std::min(kept.top, m.top), std::max(kept.right, m.right),
                std::max(kept.bottom, m.bottom)};
    }
    return whole_pixel_area(kept, editor.frame_width, editor.frame_height);
}

BgraImage copy_area(const BgraImage& image, const PixelArea& area) {
    BgraImage out{std::vector<std::uint8_t>(std::size_t{area.width} * area.height * 4), area.width, area.height};
    const std::size_t row_bytes = std::size_t{area.width} * 4;
    for (std::uint32_t row = 0; row < area.height; ++row)
        std::memcpy(out.pixels.data() + row * row_bytes,
                    image.pixels.data() + (std::size_t{area.top + row} * image.width + area.left) * 4, row_bytes);
    return out;
}

// The objects that can show in the kept area, moved into its coordinates.
std::vector<SceneObject> kept_objects(std::span<const SceneObject> objects, const PixelArea& area) {
    const Box box = area.box();
    const Point offset{-static_cast<double>(area.left), -static_cast<double>(area.top)};
    std::vector<ObjectId> ids;
    ClippedObjects probe = clip_objects_to_rect(objects, box, {}, false, {});
    while (const auto object = probe.next()) ids.push_back(object->id);
    std::vector<SceneObject> kept;
    kept.reserve(ids.size());
    ClippedObjects carried = clip_objects_to_rect(objects, box, ids, true, offset);
    while (auto object = carried.next()) kept.push_back(std::move(*object));
    return kept;
}

std::int32_t wrapping_add(std::int32_t a, std::uint32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + b);
}

Result<CaptureDocument> compose(const EditorState& editor, const BgraImage& frame, ScreenOrigin frame_origin) {
    if (!editor.capture_selection) return not_editable_capture("No region is selected");
    if (!is_valid_bgra_image(frame) || frame.width != editor.frame_width || frame.height != editor.frame_height)
        return not_editable_capture("The frame is not the one being edited");
    const Box& selection = *editor.capture_selection;
    const auto area = kept_area(editor, selection);
    if (!area) return not_editable_capture("The selected region lies outside the frame");

    auto blurred = blur_regions(frame, editor.objects);
    if (!blurred) return std::move(blurred).failure();

    CaptureDocument document;
    Scene& scene = document.scene;
    scene.objects = kept_objects(editor.objects, *area);
    scene.background = editor.background;
    renumber_object_ids(scene.objects, scene.background);
    scene.frame = {area->width, area->height};
    scene.origin = {wrapping_add(frame_origin.x, area->left), wrapping_add(frame_origin.y, area->top)};
    scene.region = {selection.left - area->left, selection.top - area->top, selection.right - area->left,
                    selection.bottom - area->top};
    // Renumbering gave ids 1..n; an editor whose own ids started at 0 may
    // have handed out fewer.
    scene.last = std::max<ObjectId>(editor.last_id, scene.objects.size());
    document.frame = copy_area(blurred->image(), *area);
    return document;
}

}  // namespace

Result<CaptureDocument> compose_capture_document(const EditorState& editor, const BgraImage& frame,
                                                 ScreenOrigin frame_origin) {
    try {
        return compose(editor, frame, frame_origin);
    } catch (const std::bad_alloc&) {
        return out_of_memory("Composing an editable document");
    }
}

}  // namespace glimmerly
