#include "core/document/scene_object.h"

#include "tests/core/support/objects.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

constexpr std::uint32_t kBlack = 0;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

TEST(ContrastColor, PicksTheLetterColourThatStandsOutMore) {
    struct Row {
        const char* name;
        Rgb colour;
        std::uint32_t expected;
    };
    const Row rows[] = {
        {"yellow", {255, 255, 0}, kBlack},   {"blue", {0, 0, 255}, kWhite},
        {"white", {255, 255, 255}, kBlack},  {"black", {0, 0, 0}, kWhite},
        {"red", {255, 0, 0}, kBlack},        {"the default red", {237, 79, 92}, kBlack},
        {"dark grey", {90, 90, 90}, kWhite}, {"light grey", {200, 200, 200}, kBlack},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(contrast_color(pack_rgb(row.colour)), row.expected);
    }
}

TEST(ContrastColor, ChangesOnceAlongTheGreyRamp) {
    // Luminance grows with the grey level, so the answer flips from white to
    // black exactly once.
    int flips = 0;
    for (int level = 1; level < 256; ++level) {
        const auto g = static_cast<std::uint8_t>(level);
        const auto previous = static_cast<std::uint8_t>(level - 1);
        if (contrast_color(pack_rgb({g, g, g})) != contrast_color(pack_rgb({previous, previous, previous})))
            ++flips;
    }
    EXPECT_EQ(flips, 1);
}

TEST(ObjectTextColor, LabelsContrastOrUseTheirInkPlainObjectsKeepTheirColour) {
    SceneObject yellow_label = text(1, "hi", {0, 0}, LabelMode::fit());
    yellow_label.color = {255, 255, 0};
    EXPECT_EQ(object_text_color(yellow_label), kBlack);

    SceneObject blue_label = yellow_label;
    blue_label.color = {0, 0, 255};
    EXPECT_EQ(object_text_color(blue_label), kWhite);

    SceneObject inked = blue_label;
    std::get<TextPayload>(inked.payload).ink = Rgb{12, 34, 56};
    EXPECT_EQ(object_text_color(inked), pack_rgb({12, 34, 56}));

    // A plain text draws its letters in its own colour, even with a stray ink.
    SceneObject plain = text(2, "hi", {0, 0});
    plain.color = {0, 0, 255};
    std::get<TextPayload>(plain.payload).ink = Rgb{1, 2, 3};
    EXPECT_EQ(object_text_color(plain), pack_rgb({0, 0, 255}));

    EXPECT_EQ(object_text_color(rectangle(3, {0, 0, 1, 1})), pack_rgb({200, 30, 30}));
}

TEST(SceneObjectEquality, ComparesEveryFieldOfTheKindAsNumbers) {
    SceneObject a = stroke(1, {{0, 0}, {10, 10}, {20, 0}});
    std::get<StrokePayload>(a.payload).widths = {2.0, 3.0};
    SceneObject b = a;
    EXPECT_EQ(a, b);

    std::get<StrokePayload>(b.payload).widths[1] = 3.5;
    EXPECT_NE(a, b) << "one per-point width differs";

    SceneObject zero = rectangle(1, {0, 0, 10, 10});
    SceneObject negative_zero = zero;
    negative_zero.rotation = -0.0;
    EXPECT_EQ(zero, negative_zero);

    SceneObject nan = zero;
    nan.width = std::numeric_limits<double>::quiet_NaN();
    EXPECT_NE(nan, nan) << "NaN is not a number equal to itself";

    // Same box, different kinds.
    EXPECT_NE(rectangle(1, {0, 0, 10, 10}), ellipse(1, {0, 0, 10, 10}));
}

TEST(SceneObjectEquality, WrapWidthCountsOnlyForWrappingLabels) {
    const LabelMode stale_none{LabelKind::None, 40.0};
    EXPECT_EQ(stale_none, LabelMode::none());
    const LabelMode stale_fit{LabelKind::Fit, 40.0};
    EXPECT_EQ(stale_fit, LabelMode::fit());
    EXPECT_NE(LabelMode::wrap(40.0), LabelMode::wrap(41.0));
    EXPECT_NE(LabelMode::wrap(40.0), LabelMode::fit());
}

TEST(ObjectIds, NeverHandsOutAnIdThatWrapped) {
    constexpr ObjectId max = std::numeric_limits<ObjectId>::max();
    ObjectId last = 41;
    EXPECT_EQ(next_object_id(last), 42u);
    EXPECT_EQ(last, 42u);
    EXPECT_EQ(take_object_ids(last, 3), 43u);
    EXPECT_EQ(last, 45u);

    last = max - 2;
    EXPECT_EQ(take_object_ids(last, 2), max - 1);
    EXPECT_EQ(last, max);
    EXPECT_EQ(next_object_id(last), std::nullopt);
    EXPECT_EQ(last, max) << "an exhausted counter stays where it was";

    last = max - 2;
    EXPECT_EQ(take_object_ids(last, 3), std::nullopt) << "the run would wrap";
    EXPECT_EQ(last, max - 2);
}

}  // namespace
}  // namespace glimmerly
