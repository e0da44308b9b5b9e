#include "core/editor/colour_picker.h"

#include "core/editor/toolbar.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace glimmerly {
namespace {

// The window point of a design-unit point of the popup.
Point at_unit(const ColourPicker& p, double x, double y) { return {p.rect.left + x * p.scale, p.rect.top + y * p.scale}; }

TEST(ColourPicker, OpensOnTheColourItGivesBack) {
    const ColourPicker red = open_colour_picker({237, 79, 92}, {100, 100}, 1920, 1080, 1.0);
    EXPECT_NEAR(red.hue, 0.9863, 1e-4);
    EXPECT_NEAR(red.saturation, 0.6667, 1e-4);
    EXPECT_NEAR(red.value, 0.9294, 1e-4);
    EXPECT_EQ(red.hex, "#ED4F5C");
    std::vector<Rgb> colours = {{128, 128, 128}, {0, 0, 0}, {255, 255, 255}, {1, 254, 3}};
    colours.insert(colours.end(), palette_colours().begin(), palette_colours().end());
    for (const Rgb c : colours)
        EXPECT_EQ(hsv_to_rgb(open_colour_picker(c, {0, 0}, 1920, 1080, 1.0)), c) << colour_code(c);
}

TEST(ColourPicker, StaysInsideASmallFrame) {
    const ColourPicker p = open_colour_picker({0, 0, 0}, {900, 250}, 1000, 300, 2.0);
    EXPECT_DOUBLE_EQ(p.scale, 300.0 / 316.0);
    EXPECT_EQ((std::array{p.rect.right, p.rect.top, p.rect.bottom}), (std::array{1000.0, 0.0, 300.0}));
    EXPECT_EQ(open_colour_picker({0, 0, 0}, {NAN, 5}, NAN, 300, NAN).scale, 0.0) << "not shown, not a popup of NaN";
}

TEST(ColourPicker, RingAndSquareFollowThePointer) {
    ColourPicker p = open_colour_picker({237, 79, 92}, {40, 60}, 1920, 1080, 1.5);
    ASSERT_TRUE(picker_hit_test(p, at_unit(p, 130, 60)));  // radius 84, straight up
    EXPECT_EQ(p.drag, PickerDrag::Ring);
    EXPECT_DOUBLE_EQ(p.hue, 0.75);
    picker_drag(p, at_unit(p, 400, 144));  // far outside: the ring keeps following
    EXPECT_DOUBLE_EQ(p.hue, 0.0);
    EXPECT_EQ(p.hex, colour_code(hsv_to_rgb(p)));

    ASSERT_TRUE(picker_hit_test(p, at_unit(p, 130, 144)));
    EXPECT_EQ(p.drag, PickerDrag::Square);
    EXPECT_NEAR(p.saturation, 0.5, 1e-9);
    EXPECT_NEAR(p.value, 0.5, 1e-9);
    picker_drag(p, at_unit(p, -50, 500));
    EXPECT_EQ(p.saturation, 0.0);
    EXPECT_EQ(p.value, 0.0);

    EXPECT_TRUE(picker_hit_test(p, at_unit(p, 5, 5))) << "the popup takes the press";
    EXPECT_EQ(p.drag, PickerDrag::None);
    EXPECT_FALSE(picker_hit_test(p, at_unit(p, -1, 5)));
}

TEST(ColourPicker, HueWrapsAndNoNumberGivesBlack) {
    const auto hsv = [](double h, double s, double v) {
        return hsv_to_rgb(ColourPicker{.hue = h, .saturation = s, .value = v});
    };
    EXPECT_EQ(hsv(1.0, 1, 1), hsv(0.0, 1, 1));
    EXPECT_EQ(hsv(1.0, 1, 1), (Rgb{255, 0, 0}));
    EXPECT_EQ(hsv(-0.25, 1, 1), (Rgb{128, 0, 255})) << "half away from zero";
    EXPECT_EQ(hsv(0.5, 1, NAN), (Rgb{0, 0, 0}));
}

}  // namespace
}  // namespace glimmerly
