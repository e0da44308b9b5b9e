#include "core/demo/presentation_scenes.h"

#include <algorithm>

#include "core/presentation/device_placement.h"

namespace glimmerly {
namespace {

Box corners(Point a, Point b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

void press(KeyDisplay& keys, std::uint16_t scan, bool extended = false) {
    record_key_event(keys, scan, extended, true, 0);
}

// The key shows this text whatever the keyboard layout of the machine.
void press_labelled(KeyDisplay& keys, std::uint16_t scan, const char16_t* text) {
    press(keys, scan);
    set_key_display_label(keys, scan, false, std::u16string_view(text));
}

}  // namespace

std::optional<SceneObject> sample_shape_object(const SampleShape& shape) {
    if (!shape.kind) return std::nullopt;
    SceneObject object;
    switch (*shape.kind) {
        case ObjectKind::Rectangle: object.payload = RectanglePayload{corners(shape.from, shape.to)}; break;
        case ObjectKind::Ellipse: object.payload = EllipsePayload{corners(shape.from, shape.to)}; break;
        case ObjectKind::Arrow: {
            LinePayload line;
            line.from = shape.from;
            line.to = shape.to;
            line.head = true;
            object.payload = line;
            break;
        }
        default: return std::nullopt;
    }
    object.color = kSampleShapeColour;
    object.width = kSampleShapeWidth;
    return object;
}

std::array<SampleShape, 3> presentation_picture_shapes() {
    return {{
        {ObjectKind::Rectangle, {85, 148}, {365, 330}, 1.0f},
        {ObjectKind::Arrow, {402, 300}, {575, 206}, 1.0f},
        {ObjectKind::Ellipse, {610, 142}, {823, 310}, 0.4f},
    }};
}

SampleKeys presentation_sample_keys() {
    SampleKeys sample;
    // Ctrl, left Shift, Alt, Space, Enter, Num Lock, Home, Caps Lock, Backspace.
    for (const std::uint16_t scan : {29, 42, 56, 57, 28, 69, 71, 58, 14}) press(sample.keys, scan);
    press_labelled(sample.keys, 46, u"C");
    press(sample.keys, 83, true);  // Delete
    sample.mouse.buttons[0].pressed = true;
    return sample;
}

SampleKeys keyboard_layouts_keys() {
    SampleKeys sample;
    press(sample.keys, 42);  // left Shift
    press(sample.keys, 57);  // Space
    press_labelled(sample.keys, 17, u"Z");
    press(sample.keys, 29, true);  // right Ctrl
    sample.mouse.buttons[0].pressed = true;
    return sample;
}

std::array<KeyboardLayoutRow, 4> keyboard_layout_rows() {
    return {{
        {20, 20, true, false, false, true},
        {480, 20, false, true, false, true},
        {20, 180, true, true, true, true},
        {20, 340, true, true, false, false},
    }};
}

std::int32_t keyboard_layout_width(const KeyboardLayoutRow& row) {
    return static_cast<std::int32_t>(device_base_width(row.keyboard, row.mouse));
}

}  // namespace glimmerly
