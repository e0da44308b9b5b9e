// The custom-colour popup drawn into a picture, and its kept pictures.

#include "ui/overlay/picker_painting.h"

#include <gtest/gtest.h>

#include "core/editor/colour_picker.h"
#include "core/render/picker_pictures.h"
#include "tests/app/render/render_support.h"

namespace glimmerly {
namespace {

using testing::has_colour;

class PickerPainting : public testing::RenderTest {
protected:
    BgraImage draw(const ColourPicker& picker) {
        return paint(280, 330, [&](Painter& p) {
            const Status drawn = draw_colour_picker(p, picker);
            EXPECT_TRUE(drawn) << drawn.failure().message;
        });
    }
    ID2D1Bitmap* kept(std::string_view key, std::uint64_t version) {
        for (const NamedBitmap& entry : *resources_->named_bitmaps.borrow())
            if (entry.key == key && entry.version == version) return entry.bitmap.get();
        return nullptr;
    }
};

TEST_F(PickerPainting, ShowsTheColourAndRemakesOnlyTheSquareForAnotherHue) {
    ColourPicker picker = open_colour_picker({80, 153, 244}, {0, 0}, 280, 330, 1.0);
    const BgraImage first = draw(picker);
    EXPECT_TRUE(has_colour(first, {33, 271}, hsv_to_rgb(picker)));  // the swatch
    EXPECT_TRUE(has_colour(first, {221, 144}, {255, 0, 0}, 12));     // the ring's hue 0, right of the centre
    ID2D1Bitmap* ring = kept(kHueWheelKey, kHueWheelVersion);
    ASSERT_NE(ring, nullptr);
    ASSERT_NE(kept(kValueSquareKey, value_square_version(picker.hue)), nullptr);

    picker.hue = 0.0;
    const BgraImage second = draw(picker);
    EXPECT_EQ(resources_->named_bitmaps.borrow()->size(), 2u);
    EXPECT_EQ(kept(kHueWheelKey, kHueWheelVersion), ring);
    EXPECT_NE(kept(kValueSquareKey, value_square_version(0.0)), nullptr);
    EXPECT_TRUE(has_colour(second, {184, 90}, {255, 0, 0}, 12));  // the square's top right: the pure hue

    picker.scale = 0.0;
    EXPECT_TRUE(has_colour(draw(picker), {130, 144}, {255, 255, 255}));
}

}  // namespace
}  // namespace glimmerly
