#include "core/site_previews/scripted_moves.h"

#include <gtest/gtest.h>

#include <vector>

namespace glimmerly {
namespace {

TEST(ScriptedEasing, StartsOffTheStartEndsOnTheTargetAndIsSymmetric) {
    const Point from{100, 50}, to{300, 250};
    constexpr std::uint32_t n = 10;
    EXPECT_NE(eased_step(from, to, 1, n), from);
    EXPECT_EQ(eased_step(from, to, n, n), to);
    // Half way in time is half way in space; the steps grow, then shrink.
    EXPECT_DOUBLE_EQ(eased_step(from, to, 5, n).x, 200.0);
    EXPECT_NEAR(eased_step(from, to, 1, n).x - from.x, to.x - eased_step(from, to, 9, n).x, 1e-9);
    EXPECT_LT(eased_step(from, to, 1, n).x - from.x, eased_step(from, to, 5, n).x - eased_step(from, to, 4, n).x);
    EXPECT_DOUBLE_EQ(smoothstep(0.0), 0.0);
    EXPECT_DOUBLE_EQ(smoothstep(1.0), 1.0);
    EXPECT_DOUBLE_EQ(smoothstep(0.25), 0.15625);
}

TEST(ScriptedEasing, AMoveToWhereThePointerIsStaysThere) {
    for (std::uint32_t i = 1; i <= 4; ++i) EXPECT_EQ(eased_step({7, 8}, {7, 8}, i, 4), (Point{7, 8}));
}

TEST(ScriptedTurn, EndsTurnedByTheWholeAngleAboutTheCentre) {
    // -90 degrees on screen (y down) takes a point right of the centre above it.
    const Point end = turned_step({10, 10}, {20, 10}, -90.0, 18, 18);
    EXPECT_NEAR(end.x, 10.0, 1e-9);
    EXPECT_NEAR(end.y, 0.0, 1e-9);
}

ToolbarButton button(EditorAction action) { return ToolbarButton{Box{}, action}; }

TEST(ToolbarButtonMatching, ToolsByToolColoursByAllThreeBytesOthersByCode) {
    const std::vector<ToolbarButton> buttons{
        button(tool_action(Tool::Select)),
        button(tool_action(Tool::Pen)),
        button(colour_action({237, 79, 92})),
        button(colour_action({237, 79, 93})),
        button(pack_editor_action(EditorActionCode::Undo)),
    };
    struct Row {
        const char* name;
        EditorAction word;
        std::optional<std::size_t> found;
    } rows[] = {
        {"tool", tool_action(Tool::Pen), 1},
        {"absent tool", tool_action(Tool::Blur), std::nullopt},
        {"colour", colour_action({237, 79, 93}), 3},
        {"colour off by one blue", colour_action({237, 79, 94}), std::nullopt},
        {"colour off by one red", colour_action({236, 79, 92}), std::nullopt},
        {"undo by its code, whatever follows", pack_editor_action(EditorActionCode::Undo, 77), 4},
        {"absent code", pack_editor_action(EditorActionCode::Eyedropper), std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(find_toolbar_button(buttons, row.word), row.found);
    }
}

TEST(ScriptedTyping, CharactersAboveTheBasicPlaneAreTwoUnitsAndLineFeedsCarriageReturns) {
    EXPECT_EQ(typed_units("ab"), u"ab");
    EXPECT_EQ(typed_units("\xF0\x9F\x98\x80"), std::u16string({char16_t(0xD83D), char16_t(0xDE00)}));
    EXPECT_EQ(typed_units(""), u"");
    EXPECT_EQ(with_carriage_returns("Mobile\n+12%"), "Mobile\r+12%");
}

SceneObject arrow_object(ObjectId id, Point from, Point to, double width, Rgb colour) {
    SceneObject object;
    object.id = id;
    LinePayload line;
    line.from = from;
    line.to = to;
    line.head = true;
    object.payload = line;
    object.width = width;
    object.color = colour;
    return object;
}

SceneObject rectangle_object(ObjectId id, Box rect) {
    SceneObject object;
    object.id = id;
    object.payload = RectanglePayload{rect};
    object.width = 4;
    return object;
}

TEST(SceneReadings, LastObjectBoundsAndFirstArrow) {
    EXPECT_EQ(last_object_bounds({}).failure().message, "nothing drawn");
    EXPECT_EQ(first_arrow_geometry({}).failure().message, "missing arrow");

    const std::vector<SceneObject> one{rectangle_object(1, {10, 20, 30, 40})};
    ASSERT_TRUE(last_object_bounds(one));
    EXPECT_EQ(*last_object_bounds(one), (Box{10, 20, 30, 40}));
    EXPECT_FALSE(first_arrow_geometry(one));

    const std::vector<SceneObject> scene{rectangle_object(1, {10, 20, 30, 40}),
                                         arrow_object(2, {1, 2}, {3, 4}, 4, {1, 2, 3}),
                                         arrow_object(3, {5, 6}, {7, 8}, 2, {4, 5, 6})};
    ASSERT_TRUE(first_arrow_geometry(scene));
    EXPECT_EQ(*first_arrow_geometry(scene), (ArrowGeometry{{1, 2}, {3, 4}, 4, {1, 2, 3}}));
}

TEST(ArrowTurn, OnlyALongerTipTurnedPastARightAngleWithStartAndWidthKept) {
    const ArrowGeometry before{{0, 0}, {100, 0}, 4, {}};
    struct Row {
        const char* name;
        ArrowGeometry after;
        bool turned;
    } rows[] = {
        {"turned back and longer", {{0, 0}, {-120, 10}, 4, {}}, true},
        {"only longer, same way", {{0, 0}, {200, 0}, 4, {}}, false},
        {"turned exactly a right angle", {{0, 0}, {0, 150}, 4, {}}, false},
        {"turned back but shorter", {{0, 0}, {-50, 0}, 4, {}}, false},
        {"turned back, width changed", {{0, 0}, {-120, 10}, 8, {}}, false},
        {"turned back, start moved", {{1, 0}, {-120, 10}, 4, {}}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(arrow_turned_past_right_angle(before, row.after), row.turned);
    }
}

}  // namespace
}  // namespace glimmerly
