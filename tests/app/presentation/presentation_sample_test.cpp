// The presentation sample that picture renderers composite: what each of its
// hidden layers holds in its own picture (premultiplied BGRA), never the screen.

#include <gtest/gtest.h>

#include "app/presentation/demo.h"
#include "app/win/com.h"
#include "core/presentation/keyboard_caps.h"

namespace glimmerly {
namespace {

struct Pixel {
    std::uint8_t b, g, r, a;
};

Pixel pixel_at(const PresentationLayer& layer, std::int32_t x, std::int32_t y) {
    const std::uint8_t* p = layer.surface.bits + (std::size_t(y) * layer.width + std::size_t(x)) * 4;
    return {p[0], p[1], p[2], p[3]};
}

bool window_visible(const PresentationLayer& layer) { return IsWindowVisible(layer.window.get()) != FALSE; }

class PresentationSampleTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(com_.initialized()); }
    win::ComApartment com_;
};

TEST_F(PresentationSampleTest, DrawsTheShapesHaloAndKeysIntoHiddenLayersOfTheirSizes) {
    const std::array<SampleShape, 3> shapes = {{
        {ObjectKind::Rectangle, {20, 20}, {120, 80}, 1.0f},
        {std::nullopt, {0, 0}, {300, 150}, 1.0f},  // left out: nothing across the layer
        {ObjectKind::Ellipse, {200, 40}, {280, 120}, 0.4f},
    }};
    auto sample = render_presentation_sample(300, 150, shapes);
    ASSERT_TRUE(sample) << sample.failure().message;
    EXPECT_EQ(sample->shapes->width, 300);
    EXPECT_EQ(sample->shapes->height, 150);
    EXPECT_EQ(sample->halo->width, 72);
    EXPECT_EQ(sample->devices->width, 520);
    EXPECT_EQ(sample->devices->height, 140);
    for (const PresentationLayer* layer : {sample->shapes.get(), sample->halo.get(), sample->devices.get()})
        EXPECT_FALSE(window_visible(*layer));

    // The rectangle's side at full opacity, the ellipse's at 40 %, nothing
    // where only the shape without a kind would have been.
    EXPECT_EQ(pixel_at(*sample->shapes, 20, 50).a, 255);
    EXPECT_NEAR(pixel_at(*sample->shapes, 200, 80).a, 102, 12);
    EXPECT_EQ(pixel_at(*sample->shapes, 160, 140).a, 0);

    // The halo disc in the middle at 14 %, yellow; the corners untouched.
    const Pixel middle = pixel_at(*sample->halo, 36, 36);
    EXPECT_NEAR(middle.a, 36, 2);
    EXPECT_NEAR(middle.r, 36, 2);  // premultiplied 255
    EXPECT_NEAR(middle.b, 9, 2);   // premultiplied 64
    EXPECT_EQ(pixel_at(*sample->halo, 0, 0).a, 0);

    EXPECT_TRUE(sample->keys.slots[key_slot_index(46, false)].pressed);
    // Its label "C" in the label colour, inside the lit cap.
    int label = 0;
    for (const KeyCapPlace& cap : keyboard_caps(sample->us_layout)) {
        if (cap.scan != 46 || cap.extended) continue;
        for (auto y = std::int32_t(cap.y + 2); y < std::int32_t(cap_bottom(cap) - 2); ++y)
            for (auto x = std::int32_t(cap.x + 2); x < std::int32_t(cap_right(cap) - 2); ++x) {
                const Pixel p = pixel_at(*sample->devices, x, y);
                label += p.a > 200 && p.r < 60 && p.g < 80 && p.b < 100;
            }
    }
    EXPECT_GT(label, 4);
    EXPECT_TRUE(sample->mouse.buttons[0].pressed);
}

TEST_F(PresentationSampleTest, AnEmptyShapeLayerIsRefused) {
    const auto shapes = presentation_picture_shapes();
    for (const auto& [w, h] : {std::pair{0u, 540u}, std::pair{960u, 0u}, std::pair{0x80000000u, 10u}}) {
        auto sample = render_presentation_sample(w, h, shapes);
        ASSERT_FALSE(sample);
        EXPECT_EQ(static_cast<std::uint32_t>(sample.failure().code), 0x80070057u);
    }
}

}  // namespace
}  // namespace glimmerly
