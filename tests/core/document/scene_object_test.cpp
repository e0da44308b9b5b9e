#include "core/document/scene_object.h"

#include "tests/core/support/objects.h"

#include <gtest/gtest.h>

#include <limits>

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

TEST(ContrastColor, PicksTheLetterColourThatStandsOutMoreAndFlipsOnceAlongTheGreys) {
    struct Row { const char* name; Rgb colour; Rgb expected; };
    const Row rows[] = {
        {"yellow", {255, 255, 0}, kBlack}, {"blue", {0, 0, 255}, kWhite},       {"white", kWhite, kBlack},
        {"black", kBlack, kWhite},         {"the default red", {237, 79, 92}, kBlack},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(contrast_color(row.colour), row.expected);
    }
    int flips = 0;
    for (int level = 1; level < 256; ++level) {
        const auto g = static_cast<std::uint8_t>(level), previous = static_cast<std::uint8_t>(level - 1);
        flips += contrast_color({g, g, g}) != contrast_color({previous, previous, previous});
    }
    EXPECT_EQ(flips, 1);
}

TEST(ObjectTextColor, LabelsContrastOrUseTheirInkPlainObjectsKeepTheirColour) {
    SceneObject label = text(1, "hi", {0, 0}, LabelMode::fit());  // yellow
    EXPECT_EQ(object_text_color(label), kBlack);
    label.color = {0, 0, 255};
    EXPECT_EQ(object_text_color(label), kWhite);
    as_text(label)->ink = Rgb{12, 34, 56};
    EXPECT_EQ(object_text_color(label), (Rgb{12, 34, 56}));

    // A plain text draws its letters in its own colour, even with a stray ink.
    SceneObject plain = text(2, "hi", {0, 0});
    plain.color = {0, 0, 255};
    as_text(plain)->ink = Rgb{1, 2, 3};
    EXPECT_EQ(object_text_color(plain), (Rgb{0, 0, 255}));
    EXPECT_EQ(object_text_color(rectangle(3, {0, 0, 1, 1})), (Rgb{200, 30, 30}));
}

TEST(SceneObjectEquality, ComparesValuesAndWrapWidthOnlyForWrappingLabels) {
    const SceneObject zero = rectangle(1, {0, 0, 10, 10});
    EXPECT_EQ(zero, rectangle(1, {0, 0, 10, 10}, -0.0));
    const SceneObject nan = with_width(zero, std::numeric_limits<double>::quiet_NaN());
    EXPECT_NE(nan, nan) << "NaN is not a number equal to itself";
    EXPECT_NE(zero, ellipse(1, {0, 0, 10, 10})) << "same box, different kinds";

    EXPECT_EQ((LabelMode{LabelKind::None, 40.0}), LabelMode::none());
    EXPECT_EQ((LabelMode{LabelKind::Fit, 40.0}), LabelMode::fit());
    EXPECT_NE(LabelMode::wrap(40.0), LabelMode::wrap(41.0));
    EXPECT_NE(LabelMode::fit(), LabelMode::none());
}

TEST(ObjectIds, NeverHandsOutAnIdThatWrapped) {
    constexpr ObjectId max = std::numeric_limits<ObjectId>::max();
    ObjectId last = 41;
    EXPECT_EQ(take_object_ids(last, 3), 42u);
    EXPECT_EQ(last, 44u);

    last = max - 2;
    EXPECT_EQ(take_object_ids(last, 3), std::nullopt) << "the run would wrap";
    EXPECT_EQ(last, max - 2);
    EXPECT_EQ(take_object_ids(last, 2), max - 1);
    EXPECT_EQ(last, max);
    EXPECT_EQ(next_object_id(last), std::nullopt);
    EXPECT_EQ(last, max) << "an exhausted counter stays where it was";
}

}  // namespace
}  // namespace glimmerly
