// Pictures replayed through the painting kit, read back as pixels.

#include "app/render/picture_drawing.h"

#include <gtest/gtest.h>

#include <numbers>

#include "tests/app/render/render_support.h"

namespace glimmerly {
namespace {

using testing::has_colour;

class PictureDrawing : public testing::RenderTest {
protected:
    BgraImage draw(const Picture& picture, const D2D1_MATRIX_3X2_F& transform = D2D1::Matrix3x2F::Identity()) {
        return paint(100, 80, [&](Painter& p) {
            p.target->SetTransform(transform);
            const Status drawn = draw_picture(p, picture);
            EXPECT_TRUE(drawn) << drawn.failure().message;
            // What follows the picture is drawn under the caller's transform again.
            fill_rounded_rect(p, {0, 75, 5, 80}, 0, PaintColour::opaque({0, 0, 0}));
        });
    }
};

TEST_F(PictureDrawing, EachShapeLandsWhereThePictureSaysInItsColour) {
    constexpr Rgb a{200, 30, 30}, b{30, 160, 40}, c{40, 60, 220}, d{230, 180, 20}, e{120, 20, 140};
    const Picture picture{
        {RectShape{{10, 10, 30, 30}, true}, a},
        {RoundedRectShape{{40, 10, 70, 30}, 4, true}, b},
        {EllipseShape{{85, 20}, {8, 8}, true}, c},
        {PolygonShape{{{10, 50}, {30, 50}, {20, 70}}}, d},
        {LineShape{{40, 60}, {70, 60}}, e, 1.0f, 4},
        {PolylineShape{{{80, 50}, {80, 70}}}, a, 1.0f, 4},
        {RectShape{{40, 40, 70, 48}, true}, {0, 0, 0}, 0.5f},
    };
    const BgraImage image = draw(picture);
    const struct {
        const char* name;
        Point at;
        Rgb colour;
    } rows[] = {
        {"rectangle", {20, 20}, a},     {"rounded rectangle", {55, 20}, b}, {"disc", {85, 20}, c},
        {"polygon", {20, 55}, d},       {"line", {55, 60}, e},              {"polyline", {80, 60}, a},
        {"half-opaque black", {55, 44}, {128, 128, 128}}, {"nothing", {95, 75}, {255, 255, 255}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_TRUE(has_colour(image, row.at, row.colour));
    }
}

TEST_F(PictureDrawing, ARotationTurnsOnlyWhatFollowsItAndTheTransformComesBack) {
    constexpr Rgb ink{30, 60, 200};
    const Picture picture{
        {RotationShape{true, std::numbers::pi / 2.0, {30, 30}}, ink},
        {RectShape{{20, 0, 40, 10}, true}, ink},  // above the centre, turned to its right
        {RotationShape{false}, ink},
        {RectShape{{0, 40, 10, 50}, true}, ink},
    };
    const BgraImage image = draw(picture, D2D1::Matrix3x2F::Translation(10, 0));
    EXPECT_TRUE(has_colour(image, {65, 30}, ink));
    EXPECT_TRUE(has_colour(image, {40, 5}, {255, 255, 255}));
    EXPECT_TRUE(has_colour(image, {15, 45}, ink));
    EXPECT_TRUE(has_colour(image, {12, 77}, {0, 0, 0}));  // the caller's translation again
}

}  // namespace
}  // namespace glimmerly
