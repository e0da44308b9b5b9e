#include "core/demo/presentation_scenes.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

std::size_t pressed_count(const KeyDisplay& display) {
    std::size_t pressed = 0;
    for (const KeySlot& slot : display.slots) pressed += slot.pressed;
    return pressed;
}

TEST(SampleShape, RectangleEllipseAndArrowAreDrawnInRedOthersLeftOut) {
    const struct Row {
        const char* name;
        SampleShape shape;
        bool drawn;
    } rows[] = {
        {"rectangle from any corner", {ObjectKind::Rectangle, {365, 330}, {85, 148}, 1.0f}, true},
        {"ellipse", {ObjectKind::Ellipse, {610, 142}, {823, 310}, 0.4f}, true},
        {"arrow", {ObjectKind::Arrow, {402, 300}, {575, 206}, 1.0f}, true},
        {"no kind", {std::nullopt, {0, 0}, {10, 10}, 1.0f}, false},
        {"a kind the shapes layer never draws", {ObjectKind::Blur, {0, 0}, {10, 10}, 1.0f}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto object = sample_shape_object(row.shape);
        ASSERT_EQ(object.has_value(), row.drawn);
        if (!object) continue;
        EXPECT_EQ(object->kind(), *row.shape.kind);
        EXPECT_EQ(object->color, (Rgb{237, 79, 92}));
        EXPECT_EQ(object->width, 5.0);
        EXPECT_TRUE(object->fill.empty());
    }
    EXPECT_EQ(*object_rect(*sample_shape_object(rows[0].shape)), (Box{85, 148, 365, 330}));
    const SceneObject arrow_object = *sample_shape_object(rows[2].shape);
    const LinePayload* arrow = as_line(arrow_object);
    ASSERT_TRUE(arrow);
    EXPECT_EQ(arrow->from, (Point{402, 300}));
    EXPECT_TRUE(arrow->head);
}

TEST(PresentationSampleKeys, ElevenKeysAndTheLeftButtonHeldTheCFixedWhateverTheLayout) {
    const SampleKeys sample = presentation_sample_keys();
    EXPECT_EQ(pressed_count(sample.keys), 11u);
    EXPECT_EQ(sample.keys.slots[key_slot_index(46, false)].text(), u"C");
    EXPECT_TRUE(sample.keys.slots[key_slot_index(83, true)].pressed);    // Delete
    EXPECT_FALSE(sample.keys.slots[key_slot_index(83, false)].pressed);  // not numpad "."
    EXPECT_TRUE(sample.mouse.buttons[0].pressed);
    EXPECT_FALSE(sample.mouse.buttons[1].pressed);

    const SampleKeys layouts = keyboard_layouts_keys();
    EXPECT_EQ(pressed_count(layouts.keys), 4u);
    EXPECT_EQ(layouts.keys.slots[key_slot_index(17, false)].text(), u"Z");
    EXPECT_TRUE(layouts.keys.slots[key_slot_index(29, true)].pressed);  // right Ctrl
    EXPECT_FALSE(layouts.keys.slots[key_slot_index(29, false)].pressed);
}

TEST(KeyboardLayoutRows, EachLayerAsWideAsItsPartsAndAllInsideThePictureApart) {
    const auto rows = keyboard_layout_rows();
    const std::int32_t widths[] = {432, 77, 520, 520};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(keyboard_layout_width(rows[i]), widths[i]);
        EXPECT_LE(rows[i].x + widths[i], std::int32_t(kKeyboardLayoutsWidth));
        EXPECT_LE(rows[i].y + kDeviceLayerHeight, std::int32_t(kKeyboardLayoutsHeight));
        for (std::size_t j = 0; j < i; ++j) {
            const bool apart = rows[j].x + widths[j] <= rows[i].x || rows[j].y + kDeviceLayerHeight <= rows[i].y;
            EXPECT_TRUE(apart) << "overlaps row " << j;
        }
    }
    EXPECT_TRUE(rows[2].us_layout);
    EXPECT_FALSE(rows[3].move_mode);
}

}  // namespace
}  // namespace glimmerly
