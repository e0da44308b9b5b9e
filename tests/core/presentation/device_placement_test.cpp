#include "core/presentation/device_placement.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

const PixelRect kWork{100, 0, 1380, 760};  // 1280 x 760

TEST(DevicePlacement, PresetsSitAtAMarginFromTheirCornerOrEdge) {
    const PixelPoint size{520, 140};  // free room 760 x 620
    struct Row {
        const char* name;
        std::uint8_t preset;
        PixelPoint at;
    };
    const Row rows[] = {
        {"top left", 0, {116, 16}},     {"top centre", 1, {480, 16}},     {"top right", 2, {844, 16}},
        {"bottom left", 3, {116, 604}}, {"bottom centre", 4, {480, 604}}, {"bottom right", 5, {844, 604}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(place_device_layer(kWork, size, 1.0, row.preset, std::nullopt), row.at);
    }
}

TEST(DevicePlacement, StoredFractionsReplaceThePresetAndAreHeldToTheWorkArea) {
    const PixelPoint size{520, 140};
    EXPECT_EQ(place_device_layer(kWork, size, 1.0, 0, InputDisplayOffset{5000, 10000}), (PixelPoint{480, 620}));
    EXPECT_EQ(place_device_layer(kWork, size, 1.0, 0, InputDisplayOffset{65535, 20000}), (PixelPoint{860, 620}));
    // Wider than the work area: no free width, the left edge.
    EXPECT_EQ(place_device_layer(kWork, {2000, 140}, 1.0, 2, InputDisplayOffset{7000, 0}), (PixelPoint{100, 0}));
    EXPECT_EQ(place_device_layer(kWork, {2000, 140}, 1.0, 2, std::nullopt), (PixelPoint{100, 16}));
}

TEST(DevicePlacement, SizeFollowsWhatIsShownThePercentAndTheScale) {
    EXPECT_EQ(device_layer_size(100, 1.0, true, true), (PixelPoint{520, 140}));
    EXPECT_EQ(device_layer_size(200, 1.0, true, false), (PixelPoint{864, 280}));
    EXPECT_EQ(device_layer_size(150, 1.25, false, true), (PixelPoint{144, 262}));
}

TEST(DevicePlacementDrag, PastAnyEdgeStopsAtTheWorkAreaAndStoresZeroOrTheWhole) {
    const PixelPoint size{520, 140};
    const PixelPoint window{480, 300}, press{600, 350};
    struct Row {
        const char* name;
        PixelPoint cursor;
        PixelPoint at;
        InputDisplayOffset fractions;
    };
    const Row rows[] = {
        {"far left and up", {-5000, -5000}, {100, 0}, {0, 0}},
        {"far right and down", {9000, 9000}, {860, 620}, {10000, 10000}},
        {"a little", {790, 360}, {670, 310}, {7500, 5000}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const DragPlacement drag = drag_device_layer_to(kWork, size, window, press, row.cursor);
        EXPECT_EQ(drag.position, row.at);
        EXPECT_EQ(drag.fractions, row.fractions);
    }
    const DragPlacement wide = drag_device_layer_to(kWork, {2000, 140}, {100, 0}, {0, 0}, {300, 0});
    EXPECT_EQ(wide.fractions.x, 0);
    EXPECT_EQ(wide.position.x, 100);
}

TEST(WheelNotches, HalfNotchesAddUpAndOppositeTurnsStartAgain) {
    WheelNotches first = take_wheel_notches(0, 60);
    EXPECT_EQ(first.notches, 0);
    WheelNotches second = take_wheel_notches(first.remainder, 60);
    EXPECT_EQ(second.notches, 1);
    EXPECT_EQ(second.remainder, 0);
    WheelNotches back = take_wheel_notches(first.remainder, -60);
    EXPECT_EQ(back.notches, 0);
    EXPECT_EQ(back.remainder, -60);
    EXPECT_EQ(take_wheel_notches(0, -360).notches, -3);
}

}  // namespace
}  // namespace glimmerly
