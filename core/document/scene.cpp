#include "core/document/scene.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <unordered_map>

namespace glimmerly {

namespace {

bool finite(double v) { return std::isfinite(v); }
bool finite(Point p) { return finite(p.x) && finite(p.y); }
bool finite(const Box& b) { return finite(b.left) && finite(b.top) && finite(b.right) && finite(b.bottom); }

// Byte length of the White_Space character that starts at `i`, else 0. The
// property's members outside ASCII are few enough to match as byte strings.
std::size_t white_space_at(std::string_view s, std::size_t i) {
    const auto byte = [&](std::size_t k) {
        return i + k < s.size() ? static_cast<unsigned char>(s[i + k]) : 0u;
    };
    const unsigned char b0 = byte(0);
    if ((b0 >= 0x09 && b0 <= 0x0D) || b0 == 0x20) return 1;
    if (b0 == 0xC2 && (byte(1) == 0x85 || byte(1) == 0xA0)) return 2;  // U+0085, U+00A0
    if (b0 == 0xE1 && byte(1) == 0x9A && byte(2) == 0x80) return 3;    // U+1680
    if (b0 == 0xE2 && byte(1) == 0x80) {
        const unsigned char b2 = byte(2);
        if ((b2 >= 0x80 && b2 <= 0x8A) || b2 == 0xA8 || b2 == 0xA9 || b2 == 0xAF)
            return 3;  // U+2000..200A, 2028, 2029, 202F
    }
    if (b0 == 0xE2 && byte(1) == 0x81 && byte(2) == 0x9F) return 3;  // U+205F
    if (b0 == 0xE3 && byte(1) == 0x80 && byte(2) == 0x80) return 3;  // U+3000
    return 0;
}

// Length of the (possibly invalid) character at `i` that is not white space;
// a stray byte counts alone.
std::size_t character_at(std::string_view s, std::size_t i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    std::size_t length = b0 < 0x80 ? 1 : b0 >= 0xF0 ? 4 : b0 >= 0xE0 ? 3 : b0 >= 0xC0 ? 2 : 1;
    for (std::size_t k = 1; k < length; ++k)
        if (i + k >= s.size() || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 1;
    return length;
}

Failure object_failure(const SceneObject& object, std::string_view what) {
    return invalid_input("Object " + std::to_string(object.id) + ": " + std::string(what));
}

Status check_line(const SceneObject& object, const LinePayload& line) {
    if (!finite(line.from) || !finite(line.to)) return object_failure(object, "line end is not finite");
    if (!finite(line.bend)) return object_failure(object, "line bend is not finite");
    if (line.elbow && (line.bend.x != 0.0 || line.bend.y != 0.0))
        return object_failure(object, "elbow line has a bend");
    if ((line.start && !finite(line.start->point)) || (line.end && !finite(line.end->point)))
        return object_failure(object, "attachment point is not finite");
    return ok_status();
}

Status check_stroke(const SceneObject& object, const StrokePayload& stroke, std::size_t& stroke_values) {
    if (stroke.points.empty()) return object_failure(object, "stroke has no points");
    // Each count is held to the limit before the sum is formed, so the sum
    // cannot overflow whatever a damaged file claims.
    if (stroke.points.size() > kMaxStrokeValues || stroke.widths.size() > kMaxStrokeValues ||
        stroke_values + stroke.points.size() + stroke.widths.size() > kMaxStrokeValues)
        return object_failure(object, "strokes hold more than 4000000 points and widths");
    stroke_values += stroke.points.size() + stroke.widths.size();
    for (const Point& p : stroke.points)
        if (!finite(p)) return object_failure(object, "stroke point is not finite");
    for (double w : stroke.widths)
        if (!finite(w) || w < 0.0) return object_failure(object, "stroke width is not finite or is negative");
    return ok_status();
}

Status check_text(const SceneObject& object, const TextPayload& text) {
    if (!text.label.is_label() && text.ink) return object_failure(object, "plain text has a label ink");
    if (text.label.kind == LabelKind::Wrap && !(finite(text.label.wrap_width) && text.label.wrap_width > 0.0))
        return object_failure(object, "wrap width is not finite and above 0");
    if (!finite(text.at)) return object_failure(object, "text position is not finite");
    if (!usable_text_size(text.size))
        return object_failure(object, "text size is outside 8..300");
    if (!finite(text.extent.w) || !finite(text.extent.h) || text.extent.w < 0.0 || text.extent.h < 0.0)
        return object_failure(object, "text extent is not finite or is negative");
    if (text.text.size() > kMaxTextBytes) return object_failure(object, "text is longer than 1048576 bytes");
    if (!text.label.is_label() && trimmed_len(text.text) == 0)
        return object_failure(object, "plain text is blank");
    return ok_status();
}

Status check_object(const SceneObject& object, std::size_t& stroke_values) {
    if (!finite(object.rotation)) return object_failure(object, "rotation is not finite");
    if (!finite(object.width) || object.width < 0.0)
        return object_failure(object, "width is not finite or is negative");
    switch (object.kind()) {
    case ObjectKind::Rectangle:
    case ObjectKind::Ellipse:
        if (!finite(*object_rect(object))) return object_failure(object, "rect is not finite");
        return ok_status();
    case ObjectKind::Arrow: return check_line(object, std::get<LinePayload>(object.payload));
    case ObjectKind::Stroke:
        return check_stroke(object, std::get<StrokePayload>(object.payload), stroke_values);
    case ObjectKind::Text: return check_text(object, std::get<TextPayload>(object.payload));
    case ObjectKind::Blur:
        if (!finite(*object_rect(object))) return object_failure(object, "rect is not finite");
        if (object.rotation != 0.0) return object_failure(object, "blur object is rotated");
        if (!(object.width >= kMinBlurStrength && object.width <= kMaxBlurStrength))
            return object_failure(object, "blur strength is outside 1..64");
        if (!object.fill.empty()) return object_failure(object, "blur object carries fill regions");
        return ok_status();
    }
    return object_failure(object, "unknown kind");
}

Status check_fill_ids(std::span<const SceneObject> objects, std::span<const FillRegion> regions) {
    for (const FillRegion& region : regions)
        for (ObjectId id : region.ids)
            if (!find_object_in_sorted(objects, id))
                return invalid_input("Fill region names missing object " + std::to_string(id));
    return ok_status();
}

// Old id -> 1-based position of its first occurrence.
using Renumbering = std::unordered_map<ObjectId, ObjectId>;

void renumber_fill(std::vector<FillRegion>& regions, const Renumbering& numbers) {
    for (FillRegion& region : regions) {
        std::size_t kept = 0;
        for (ObjectId id : region.ids) {
            const auto it = numbers.find(id);
            if (it != numbers.end()) region.ids[kept++] = it->second;
        }
        region.ids.resize(kept);
    }
}

void renumber_attachment(std::optional<ObjectAttachment>& attachment, const Renumbering& numbers) {
    if (!attachment) return;
    const auto it = numbers.find(attachment->id);
    if (it == numbers.end())
        attachment.reset();
    else
        attachment->id = it->second;
}

}  // namespace

const SceneObject* find_object_in_sorted(std::span<const SceneObject> objects, ObjectId id) {
    const auto it = std::lower_bound(objects.begin(), objects.end(), id,
                                     [](const SceneObject& o, ObjectId wanted) { return o.id < wanted; });
    return it != objects.end() && it->id == id ? &*it : nullptr;
}

std::size_t trimmed_len(std::string_view text) {
    std::size_t first = text.size();  // start of the first character that is not white space
    std::size_t end = 0;              // end of the last one
    for (std::size_t i = 0; i < text.size();) {
        if (const std::size_t space = white_space_at(text, i)) {
            i += space;
            continue;
        }
        const std::size_t length = character_at(text, i);
        first = std::min(first, i);
        end = i + length;
        i += length;
    }
    return end > first ? end - first : 0;
}

Status check_scene(const Scene& scene) {
    const FrameSize frame = scene.frame;
    if (frame.width < 1 || frame.width > kMaxFrameSide || frame.height < 1 || frame.height > kMaxFrameSide)
        return invalid_input("Frame size " + std::to_string(frame.width) + " x " +
                             std::to_string(frame.height) + " is outside 1..32768");

    const Box& r = scene.region;
    if (!finite(r)) return invalid_input("Region is not finite");
    if (!(r.left < r.right && r.top < r.bottom)) return invalid_input("Region is empty");
    if (!(r.left >= 0.0 && r.top >= 0.0 && r.right <= static_cast<double>(frame.width) &&
          r.bottom <= static_cast<double>(frame.height)))
        return invalid_input("Region lies outside the frame");

    const auto& objects = scene.objects;
    if (objects.size() > kMaxSceneObjects)
        return invalid_input("Scene holds " + std::to_string(objects.size()) +
                             " objects; at most 100000 are allowed");

    for (std::size_t i = 1; i < objects.size(); ++i)
        if (objects[i].id <= objects[i - 1].id)
            return invalid_input("Object ids are not strictly ascending at id " +
                                 std::to_string(objects[i].id));
    if (!objects.empty() && objects.back().id > scene.last)
        return invalid_input("Object id " + std::to_string(objects.back().id) + " is above the last id " +
                             std::to_string(scene.last));

    std::size_t stroke_values = 0;
    for (const SceneObject& object : objects) GLIM_TRY(check_object(object, stroke_values));

    GLIM_TRY(check_fill_ids(objects, scene.background));
    for (const SceneObject& object : objects) GLIM_TRY(check_fill_ids(objects, object.fill));
    return ok_status();
}

void renumber_object_ids(std::vector<SceneObject>& objects, std::vector<FillRegion>& background) {
    Renumbering numbers;
    numbers.reserve(objects.size());
    for (std::size_t i = 0; i < objects.size(); ++i)
        numbers.emplace(objects[i].id, i + 1);  // first occurrence wins

    renumber_fill(background, numbers);
    for (std::size_t i = 0; i < objects.size(); ++i) {
        SceneObject& object = objects[i];
        object.id = i + 1;
        renumber_fill(object.fill, numbers);
        if (LinePayload* line = as_line(object)) {
            renumber_attachment(line->start, numbers);
            renumber_attachment(line->end, numbers);
        }
    }
}

}  // namespace glimmerly
