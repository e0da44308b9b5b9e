// Scene objects as the user sees them: pixels of scenes composed over a
// white capture.

#include "app/render/object_drawing.h"

#include <gtest/gtest.h>

#include "app/render/painting_kit.h"
#include "tests/app/render/render_support.h"
#include "tests/core/support/objects.h"

namespace glimmerly {
namespace {

using testing::has_colour;
using testing::RenderTest;

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kRed{200, 30, 30};
constexpr Rgb kGreen{30, 200, 30};
constexpr Rgb kFill{40, 160, 60};

class ObjectDrawing : public RenderTest {};

// A point inside the arrow's head, away from its edges and from the shaft.
Point head_centre(const SceneObject& arrow) {
    const Polyline head = build_object_geometry(arrow, {})[1];
    return {(head[0].x + head[1].x + head[2].x) / 3, (head[0].y + head[1].y + head[2].y) / 3};
}

TEST_F(ObjectDrawing, ShapesShowTheirColoursWhereTheyLieAndNowhereElse) {
    struct Probe {
        Point at;
        Rgb colour;
    };
    struct Row {
        const char* name;
        std::vector<SceneObject> objects;
        std::vector<FillRegion> background;
        std::vector<Probe> probes;
    };
    const SceneObject arrow = testing::with_width(testing::line(1, {20, 80}, {180, 80}), 6);
    const SceneObject filled = testing::with_fill(testing::rectangle(1, {20, 20, 180, 140}), {{{2}, kFill}});
    const Row rows[] = {
        {"a rectangle's outline is on its edge, not inside",
         {testing::with_width(testing::rectangle(1, {40, 40, 160, 120}), 6)},
         {},
         {{{40, 80}, kRed}, {{100, 40}, kRed}, {{100, 80}, kWhite}, {{30, 80}, kWhite}}},
        {"an arrow's head is filled", {arrow}, {}, {{head_centre(arrow), {30, 30, 200}}, {{100, 80}, {30, 30, 200}}}},
        {"a fill has a hole where an ellipse above it lies",
         {filled, testing::ellipse(2, {60, 40, 140, 120})},
         {},
         {{{35, 80}, kFill}, {{100, 30}, kFill}, {{100, 80}, kWhite}, {{60, 80}, kGreen}}},
        {"an ellipse below a fill is not cut out",
         {testing::ellipse(2, {60, 40, 140, 120}), filled},
         {},
         {{{35, 80}, kFill}, {{100, 80}, kFill}}},
        {"a background fill is cut by the shape it names",
         {testing::rectangle(1, {60, 40, 140, 120})},
         {{{1}, kFill}},
         {{{20, 20}, kFill}, {{100, 80}, kWhite}, {{60, 80}, kRed}}},
        {"a pen stroke", {testing::stroke(1, {{20, 20}, {180, 140}}, false, 6)}, {}, {{{100, 80}, {10, 10, 10}}}},
        {"blur objects draw nothing", {testing::blur(1, {0, 0, 10, 10})}, {}, {{{100, 80}, kWhite}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const BgraImage image = draw(row.objects, row.background);
        for (const Probe& probe : row.probes) EXPECT_TRUE(has_colour(image, probe.at, probe.colour));
    }
}

TEST_F(ObjectDrawing, AHighlighterCrossingItselfKeepsOneColour) {
    SceneObject marker = testing::stroke(1, {{20, 20}, {180, 140}, {180, 20}, {20, 140}}, true, 4);
    marker.color = {200, 30, 200};
    const BgraImage image = draw(std::vector{marker});
    // 0.3 of the ink over white, once.
    const Rgb once{239, 188, 239};
    EXPECT_TRUE(has_colour(image, {60, 50}, once));     // one pass
    EXPECT_TRUE(has_colour(image, {100, 80}, once));    // where it crosses itself
    EXPECT_TRUE(has_colour(image, {176, 134}, once));   // where two segments join
}

TEST_F(ObjectDrawing, LabelLettersContrastWithTheirBoxUnlessGivenAnInk) {
    struct Row {
        const char* name;
        Rgb box;
        std::optional<Rgb> ink;
        Rgb letters;
        Rgb not_letters;
    };
    const Row rows[] = {
        {"dark box", {20, 20, 120}, std::nullopt, {255, 255, 255}, {0, 0, 0}},
        {"light box", {250, 230, 90}, std::nullopt, {0, 0, 0}, {255, 255, 255}},
        {"chosen ink", {20, 20, 120}, Rgb{255, 0, 0}, {255, 0, 0}, {255, 255, 255}},
    };
    auto extent = measure_annotation_text(*resources_, "HHH", 24, false, 0);
    ASSERT_TRUE(extent) << extent.failure().message;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SceneObject label = testing::text(1, "HHH", {60, 60}, LabelMode::fit(), 24, *extent);
        label.color = row.box;
        as_text(label)->ink = row.ink;
        const BgraImage image = draw(std::vector{label});
        // Inside the rounded corners, where only the box and its letters are.
        const Box box = grow_box(object_bounds(label), -6);
        int letters = 0, wrong = 0, boxed = 0;
        for (auto y = std::uint32_t(box.top); y < std::uint32_t(box.bottom); ++y)
            for (auto x = std::uint32_t(box.left); x < std::uint32_t(box.right); ++x) {
                const Rgb p = testing::pixel(image, x, y);
                letters += testing::close_to(p, row.letters, 8);
                wrong += testing::close_to(p, row.not_letters, 8);
                boxed += testing::close_to(p, row.box, 2);
            }
        EXPECT_GT(letters, 30);
        EXPECT_EQ(wrong, 0);
        EXPECT_GT(boxed, letters);
    }
}

TEST_F(ObjectDrawing, KeptPathsFollowEveryChangeOfTheirObjectAndOfTheShapesCutFromThem) {
    struct Probe {
        Point at;
        Rgb colour;
    };
    struct Row {
        const char* name;
        std::vector<SceneObject> before, after;
        std::vector<Probe> probes;  // after
    };
    const auto filled = [](Rgb colour) {
        return testing::with_fill(testing::rectangle(1, {20, 20, 180, 140}), {{{2}, colour}});
    };
    const Row rows[] = {
        {"a moved rectangle",
         {testing::with_width(testing::rectangle(1, {40, 40, 100, 100}), 6)},
         {testing::with_width(testing::rectangle(1, {90, 40, 150, 100}), 6)},
         {{{150, 70}, kRed}, {{40, 70}, kWhite}}},
        {"a widened arrow",
         {testing::line(1, {20, 80}, {180, 80}, false, 2)},
         {testing::line(1, {20, 80}, {180, 80}, false, 12)},
         {{{100, 85}, {30, 30, 200}}}},
        {"the hole of a moved ellipse above a fill",
         {filled(kFill), testing::ellipse(2, {40, 40, 90, 120})},
         {filled(kFill), testing::ellipse(2, {110, 40, 160, 120})},
         {{{65, 80}, kFill}, {{135, 80}, kWhite}}},
        {"a recoloured fill", {filled(kFill)}, {filled(kGreen)}, {{{100, 80}, kGreen}}},
        {"a fill whose hole went", {filled(kFill), testing::ellipse(2, {60, 40, 140, 120})}, {filled(kFill)},
         {{{100, 80}, kFill}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        draw(row.before);
        const BgraImage image = draw(row.after);
        for (const Probe& probe : row.probes) EXPECT_TRUE(has_colour(image, probe.at, probe.colour));
    }
}

TEST_F(ObjectDrawing, AChangedStrokeIsBuiltAgainAndAGoneOneLeavesTheCache) {
    std::vector<SceneObject> scene{testing::stroke(1, {{10, 10}, {50, 50}}), testing::stroke(2, {{60, 10}, {90, 50}})};
    // Held references keep an old outline's address from being reused.
    const auto geometry_of = [&](ObjectId id) {
        auto cache = resources_->object_cache.borrow();
        const auto found = cache->find(id);
        return found == cache->end() ? win::ComPtr<ID2D1Geometry>() : found->second.geometry;
    };
    draw(scene);
    const auto first = geometry_of(1), second = geometry_of(2);
    as_stroke(scene[0])->points[1] = {55, 50};
    draw(scene);
    EXPECT_NE(geometry_of(1).get(), first.get());
    EXPECT_EQ(geometry_of(2).get(), second.get());
    scene.pop_back();
    draw(scene);
    EXPECT_FALSE(geometry_of(2));
}

}  // namespace
}  // namespace glimmerly
