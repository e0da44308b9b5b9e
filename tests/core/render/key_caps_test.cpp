#include "core/render/key_caps.h"

#include "core/document/point_math.h"

#include <gtest/gtest.h>

#include <array>

namespace glimmerly {
namespace {

constexpr Rgb kOrange{240, 160, 75};

std::vector<Box> caps_of(const Picture& p) {
    std::vector<Box> out;
    for (const PictureShape& s : p)
        if (const auto* r = std::get_if<RoundedRectShape>(&s.geometry); r && r->filled) out.push_back(r->box);
    return out;
}

std::vector<LineShape> lines_of(const Picture& p) {
    std::vector<LineShape> out;
    for (const PictureShape& s : p)
        if (const auto* l = std::get_if<LineShape>(&s.geometry)) out.push_back(*l);
    return out;
}

TEST(KeyCaps, NarrowLabelsMakeMinimumCapsEndingAtTheRightEdge) {
    const std::array<double, 2> narrow{6, 3};
    EXPECT_DOUBLE_EQ(key_caps_row_width(std::span(narrow).first(1)), 24.0);
    EXPECT_DOUBLE_EQ(key_caps_row_width(narrow), 52.0);
    EXPECT_DOUBLE_EQ(key_caps_row_width({}), 0.0);

    const std::vector<MeasuredText> labels{{"A", 12}, {"Print Screen", 160}};
    const auto caps = caps_of(key_caps_picture(labels, 500, 100, 11, 2.0, false));
    ASSERT_EQ(caps.size(), 2u);
    EXPECT_DOUBLE_EQ(caps[0].right - caps[0].left, 48.0);
    EXPECT_DOUBLE_EQ(caps[1].right - caps[1].left, 188.0);
    EXPECT_DOUBLE_EQ(caps[1].left - caps[0].right, 8.0);
    EXPECT_DOUBLE_EQ(caps[1].right, 500.0);
    EXPECT_EQ((std::array{caps[0].top, caps[0].bottom}), (std::array{78.0, 122.0}));
}

TEST(KeyCaps, UnavailableShortcutTurnsOnlyItsLinesAndLabelOrange) {
    const std::vector<MeasuredText> labels{{"Ctrl", 20}};
    const Picture normal = key_caps_picture(labels, 100, 50, 10, 1.0, false);
    const Picture orange = key_caps_picture(labels, 100, 50, 10, 1.0, true);
    ASSERT_EQ(normal.size(), orange.size());
    for (std::size_t i = 0; i < normal.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(normal[i].geometry, orange[i].geometry);
        const auto* r = std::get_if<RoundedRectShape>(&normal[i].geometry);
        const bool fill = r && r->filled;
        EXPECT_EQ(orange[i].colour == normal[i].colour, fill);
        if (!fill) {
            EXPECT_EQ(orange[i].colour, kOrange);
        }
    }
}

TEST(ShortcutField, SeparatorFollowsWhatTheFieldHolds) {
    const ShortcutFieldLayout layout{{100, 20, 300, 50}, {310, 20, 340, 50}, {350, 20, 380, 50}};
    const auto separator_x = [&](std::vector<MeasuredText> labels, std::optional<MeasuredText> placeholder) {
        const auto lines = lines_of(shortcut_field_picture(layout, labels, placeholder, {198, 198, 198}, 1.0));
        for (const LineShape& l : lines)
            if (l.from.x == l.to.x && l.from.y == 28.0 && l.to.y == 42.0) return l.from.x;
        return -1.0;
    };
    EXPECT_DOUBLE_EQ(separator_x({}, std::nullopt), 200.0);
    EXPECT_DOUBLE_EQ(separator_x({}, MeasuredText{"Press keys", 60}), 233.0);
    EXPECT_DOUBLE_EQ(separator_x({{"Ctrl", 20}, {"K", 6}}, std::nullopt), 200.0 + 31.0 + 6.0);
}

TEST(ShortcutField, DashesNeedMoreThanElevenUnits) {
    struct Row {
        const char* name;
        Box field;
        bool across;
        bool down;
    };
    const Row rows[] = {
        {"11 wide", {0, 0, 22, 100}, false, true},
        {"12 wide", {0, 0, 24, 100}, true, true},
        {"11 high", {0, 0, 100, 22}, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto lines = lines_of(shortcut_field_picture({row.field, {200, 0, 230, 30}, {240, 0, 270, 30}}, {},
                                                           std::nullopt, {198, 198, 198}, 2.0));
        bool across = false, down = false;
        for (const LineShape& l : lines) {
            if (l.from.y == 1.0 && l.to.y == 1.0) across = true;     // top edge, half a unit in
            if (l.from.x == 1.0 && l.to.x == 1.0) down = true;       // left edge
        }
        EXPECT_EQ(across, row.across);
        EXPECT_EQ(down, row.down);
    }
}

TEST(ShortcutField, ResetArrowHeadSitsAtTheStartOfItsRing) {
    const Picture arrow = circular_arrow_picture({50, 50}, 2.0);
    ASSERT_EQ(arrow.size(), 2u);
    const auto& ring = std::get<PolylineShape>(arrow[0].geometry).points;
    const auto& head = std::get<PolylineShape>(arrow[1].geometry).points;
    ASSERT_EQ(ring.size(), 21u);
    for (const Point p : ring) EXPECT_NEAR(distance(p, {50, 50}), 10.0, 1e-9);
    EXPECT_LT(ring.front().x, 50.0);
    EXPECT_LT(ring.front().y, 50.0) << "upper left";
    EXPECT_EQ(head[1], ring.front());
    EXPECT_LT(ring.back().x, 50.0);
    EXPECT_GT(ring.back().y, 50.0) << "three quarters round, ending lower left";
}

}  // namespace
}  // namespace glimmerly
