// Pictures replayed through the painting kit, read back as pixels.

#include "app/render/picture_drawing.h"

#include <gtest/gtest.h>

#include <numbers>

#include "app/win/owners.h"

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

// A picture drawn from its kept bitmap shows exactly the pixels it shows drawn
// shape by shape, on the DC target the editor draws its frames on, over a
// picture whose every pixel differs from its neighbours (so that a blend or a
// placement off by a step shows), at fractional places and under a partial
// repaint's whole-pixel translation; and a changed picture is drawn anew.
class KeptPictureDrawing : public testing::RenderTest {
protected:
    static constexpr std::uint32_t kW = 120, kH = 90;

    // The DC target bound to a DIB holding the ground, `paint` run between
    // BeginDraw and EndDraw under `transform`; then the DIB's pixels.
    BgraImage on_dc(const D2D1_MATRIX_3X2_F& transform, const std::function<Status(Painter&)>& paint) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), LONG{kW}, -LONG{kH}, 1, 32, BI_RGB};
        void* bits = nullptr;
        win::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        win::UniqueBitmap dib(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        win::SelectedObject selected(dc.get(), dib.get());
        auto* bytes = static_cast<std::uint8_t*>(bits);
        for (std::uint32_t i = 0; i < kW * kH; ++i) {
            bytes[i * 4] = static_cast<std::uint8_t>(i * 7);
            bytes[i * 4 + 1] = static_cast<std::uint8_t>(i / kW * 3);
            bytes[i * 4 + 2] = static_cast<std::uint8_t>(i * 13 + i / kW);
            bytes[i * 4 + 3] = 255;
        }
        const RECT area{0, 0, LONG{kW}, LONG{kH}};
        ID2D1DCRenderTarget* target = resources_->dc_target.get();
        EXPECT_EQ(target->BindDC(dc.get(), &area), S_OK);
        auto painter = make_painter(*resources_, target);
        EXPECT_TRUE(painter);
        target->BeginDraw();
        target->SetTransform(transform);
        const Status painted = paint(*painter);
        EXPECT_TRUE(painted) << painted.failure().message;
        EXPECT_EQ(target->EndDraw(), S_OK);
        GdiFlush();
        return {{bytes, bytes + std::size_t{kW} * kH * 4}, kW, kH};
    }
};

// Panels and buttons as the toolbar draws them: rounded fills and outlines,
// a half-covered ring, a run of lines, a turned shape and an arrow's head.
Picture toolbar_like(double x, double y, Rgb button) {
    const auto at = [&](double u, double v) { return Point{x + u, y + v}; };
    return {
        {RoundedRectShape{{x, y, x + 70.5, y + 40.25}, 8.0, true}, {32, 32, 32}},
        {RoundedRectShape{{x, y, x + 70.5, y + 40.25}, 8.0, false}, {78, 78, 78}, 1.0f, 1.0},
        {RoundedRectShape{{x + 4, y + 4, x + 34, y + 34}, 5.0, true}, button},
        {EllipseShape{at(19, 19), {8.0, 8.0}, true}, {230, 40, 40}},
        {EllipseShape{at(19, 19), {10.2, 10.2}, false}, {255, 255, 255}, 0.95f, 1.8},
        {LineShape{at(40, 8), at(60, 8)}, {235, 235, 235}, 1.0f, 1.5},
        {LineShape{at(40, 12), at(60, 16)}, {235, 235, 235}, 1.0f, 1.5},
        {RotationShape{true, 0.4, at(50, 25)}, {}},
        {RectShape{{x + 42, y + 20, x + 58, y + 30}, false}, {235, 235, 235}, 1.0f, 1.3},
        {RotationShape{false}, {}},
        {ArrowShape{at(42, 36), at(66, 30)}, {250, 200, 20}, 1.0f, 2.0},
    };
}

TEST_F(KeptPictureDrawing, ShowsThePixelsOfThePictureDrawnShapeByShape) {
    KeptPicture kept;
    const auto straight = [&](const Picture& picture, const D2D1_MATRIX_3X2_F& transform) {
        return on_dc(transform, [&](Painter& p) { return draw_picture(p, picture); });
    };
    const struct {
        const char* name;
        Picture picture;
        D2D1_MATRIX_3X2_F transform;
    } rows[] = {
        {"first drawn", toolbar_like(20.25, 15.5, {60, 60, 60}), D2D1::Matrix3x2F::Identity()},
        {"the same again, from the bitmap", toolbar_like(20.25, 15.5, {60, 60, 60}), D2D1::Matrix3x2F::Identity()},
        {"a button lit", toolbar_like(20.25, 15.5, {0, 120, 215}), D2D1::Matrix3x2F::Identity()},
        {"moved by a fraction", toolbar_like(22.6, 17.3, {0, 120, 215}), D2D1::Matrix3x2F::Identity()},
        {"a partial repaint's translation", toolbar_like(22.6, 17.3, {0, 120, 215}),
         D2D1::Matrix3x2F::Translation(-9, -4)},
        {"moved under the same translation", toolbar_like(30.0, 20.0, {0, 120, 215}),
         D2D1::Matrix3x2F::Translation(-9, -4)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Box& panel = std::get<RoundedRectShape>(row.picture[0].geometry).box;
        const Box bounds = grow_box(panel, 4.0);
        const BgraImage expected = straight(row.picture, row.transform);
        const BgraImage drawn = on_dc(row.transform, [&](Painter& p) {
            return draw_kept_picture(p, kept, row.picture, bounds);
        });
        EXPECT_TRUE(drawn.pixels == expected.pixels);
        EXPECT_TRUE(kept.bitmap) << "drawn from a kept bitmap";
    }
}

}  // namespace
}  // namespace glimmerly
