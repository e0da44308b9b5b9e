#include "core/render/key_caps.h"

#include "core/document/point_math.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <tuple>

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
    EXPECT_EQ(std::tuple(key_caps_row_width(std::span(narrow).first(1)), key_caps_row_width(narrow),
                         key_caps_row_width({})),
              std::tuple(24.0, 52.0, 0.0));
    // At scale 2: 10 units least, 14 added, 4 between.
    const auto caps = caps_of(key_caps_picture(std::vector<MeasuredText>{{"A", 12}, {"Print Screen", 160}}, 500,
                                               100, 11, 2.0, false));
    EXPECT_EQ(caps, (std::vector<Box>{{256, 78, 304, 122}, {312, 78, 500, 122}}));
}

TEST(KeyCaps, UnavailableShortcutTurnsAllButTheFillOrange) {
    const std::vector<MeasuredText> labels{{"Ctrl", 20}};
    const Picture normal = key_caps_picture(labels, 100, 50, 10, 1.0, false);
    const Picture orange = key_caps_picture(labels, 100, 50, 10, 1.0, true);
    ASSERT_EQ(normal.size(), orange.size());
    for (std::size_t i = 0; i < normal.size(); ++i) {
        const auto* r = std::get_if<RoundedRectShape>(&normal[i].geometry);
        EXPECT_EQ(orange[i].geometry, normal[i].geometry);
        EXPECT_EQ(orange[i].colour, r && r->filled ? normal[i].colour : kOrange) << i;
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
    // At scale 2 the top edge's dashes run at y = 1, the left edge's at x = 1.
    const auto dashes = [](double w, double h) {
        const auto lines = lines_of(shortcut_field_picture({{0, 0, w, h}, {200, 0, 230, 30}, {240, 0, 270, 30}}, {},
                                                           std::nullopt, {198, 198, 198}, 2.0));
        return std::pair(std::any_of(lines.begin(), lines.end(), [](auto& l) { return l.from.y == 1 && l.to.y == 1; }),
                         std::any_of(lines.begin(), lines.end(), [](auto& l) { return l.from.x == 1 && l.to.x == 1; }));
    };
    EXPECT_EQ(dashes(22, 100), std::pair(false, true));
    EXPECT_EQ(dashes(24, 100), std::pair(true, true));
    EXPECT_EQ(dashes(100, 22), std::pair(true, false));
}

TEST(ShortcutField, ResetArrowTurnsThreeQuartersWithItsHeadAtTheStart) {
    const Picture arrow = circular_arrow_picture({50, 50}, 2.0);
    const auto& ring = std::get<PolylineShape>(arrow[0].geometry).points;
    for (const Point p : ring) EXPECT_NEAR(distance(p, {50, 50}), 10.0, 1e-9);
    EXPECT_TRUE(ring.front().x < 50 && ring.front().y < 50 && ring.back().x < 50 && ring.back().y > 50)
        << "from the upper left round by the right to the lower left";
    EXPECT_EQ(std::get<PolylineShape>(arrow[1].geometry).points[1], ring.front());
}

}  // namespace
}  // namespace glimmerly
