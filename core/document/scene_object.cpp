#include "core/document/scene_object.h"

#include <array>
#include <cmath>
#include <limits>

namespace glimmerly {

namespace {

constexpr std::array<std::string_view, 6> kKindWords = {"rectangle", "ellipse", "arrow",
                                                        "stroke",    "text",    "blur"};

double linear_channel(std::uint8_t channel) {
    const double s = channel / 255.0;
    return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
}

}  // namespace

std::optional<ObjectId> take_object_ids(ObjectId& last, std::uint64_t count) {
    if (count == 0 || last > std::numeric_limits<ObjectId>::max() - count) return std::nullopt;
    const ObjectId first = last + 1;
    last += count;
    return first;
}

std::string_view object_kind_word(ObjectKind kind) {
    const auto index = static_cast<std::size_t>(kind);
    return index < kKindWords.size() ? kKindWords[index] : std::string_view{};
}

std::optional<ObjectKind> object_kind_from_word(std::string_view word) {
    for (std::size_t i = 0; i < kKindWords.size(); ++i)
        if (kKindWords[i] == word) return static_cast<ObjectKind>(i);
    return std::nullopt;
}

const Box* object_rect(const SceneObject& object) {
    if (const auto* p = std::get_if<RectanglePayload>(&object.payload)) return &p->rect;
    if (const auto* p = std::get_if<EllipsePayload>(&object.payload)) return &p->rect;
    if (const auto* p = std::get_if<BlurPayload>(&object.payload)) return &p->rect;
    return nullptr;
}

Box* object_rect(SceneObject& object) {
    return const_cast<Box*>(object_rect(static_cast<const SceneObject&>(object)));
}

bool is_label(const SceneObject& object) {
    const auto* text = as_text(object);
    return text && text->label.is_label();
}

Rgb object_text_color(const SceneObject& object) {
    const auto* text = as_text(object);
    if (!text || !text->label.is_label()) return object.color;
    if (text->ink) return *text->ink;
    return contrast_color(object.color);
}

Rgb contrast_color(Rgb c) {
    const double luminance =
        0.2126 * linear_channel(c.r) + 0.7152 * linear_channel(c.g) + 0.0722 * linear_channel(c.b);
    // Contrast against black is (L + 0.05) / 0.05 and against white
    // 1.05 / (L + 0.05); squaring compares the two without a division.
    const double shifted = luminance + 0.05;
    return shifted * shifted > 0.0525 ? kBlack : kWhite;
}

}  // namespace glimmerly
