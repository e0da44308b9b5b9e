// The settings and setup controls as they land in a picture, at scale 2.

#include "app/render/setup_controls.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

#include "tests/app/render/render_support.h"

namespace glimmerly {
namespace {

constexpr Rgb grey(std::uint8_t level) { return {level, level, level}; }

class SetupControls : public testing::RenderTest {};

// The switch's track spans x 38..110 and y 12..48. The strip's segments are
// 8..88, 88..168 and 168..248. The shortcut cell reaches x = 390 with its
// middle at y = 40: the pointer rows end at 342 and keep their clear mark
// about (370, 40).
TEST_F(SetupControls, EachControlShowsItsStateInItsColours) {
    using Paint = std::function<Status(Painter&)>;
    const std::vector<std::string> labels{"Disc", "Ring", "Neon"}, keys{"Ctrl", "K"};
    const std::array<double, 3> widths{40, 40, 40};
    const auto strip = [&](std::optional<std::size_t> chosen) -> Paint {
        return [&, chosen](Painter& p) { return paint_option_strip(p, labels, widths, chosen, {4, 10, 256, 50}, 2); };
    };
    const auto cell = [](std::size_t row, std::vector<std::string> keys) -> Paint {
        return [=](Painter& p) -> Status {
            auto add = measure_ui_text(p, "Add", 14);
            if (!add) return std::move(add).failure();
            return paint_shortcut_cell(p, row, keys, false, "Add", add->w, {0, 10, 390, 70}, 2);
        };
    };
    const auto toggle = [](bool on) -> Paint {
        return [=](Painter& p) {
            paint_toggle_switch(p, {90, 10, 110, 50}, on, 2);
            return ok_status();
        };
    };
    const ButtonColours button{{30, 90, 200}, {250, 200, 40}, {240, 40, 40}};
    const struct {
        const char* name;
        Paint paint;
        std::vector<std::pair<Point, Rgb>> samples;
    } rows[] = {
        {"switch on overhangs its narrow rectangle", toggle(true),
         {{{39, 30}, kSettingsAccent}, {{56, 30}, kSettingsAccent}, {{92, 30}, grey(32)}, {{30, 30}, kWhite}}},
        {"switch off", toggle(false), {{{38, 30}, grey(154)}, {{56, 30}, grey(198)}, {{92, 30}, kWhite}}},
        {"second option chosen", strip(1), {{{12, 18}, grey(29)}, {{92, 18}, grey(61)}, {{128, 44}, kSettingsAccent}}},
        {"no option chosen", strip(std::nullopt), {{{92, 18}, grey(29)}, {{128, 44}, grey(29)}}},
        {"click row without keys", cell(7, {}), {{{339, 40}, grey(55)}, {{345, 16}, kWhite}, {{370, 40}, kWhite}}},
        {"click row with keys", cell(7, keys), {{{339, 40}, grey(54)}, {{345, 16}, kWhite}, {{370, 40}, grey(154)}}},
        {"capture row without keys", cell(0, {}), {{{345, 16}, grey(55)}, {{387, 40}, grey(55)}}},
        {"setup button",
         [&](Painter& p) { return paint_setup_button(p, {10, 10, 110, 50}, 2, "OK", button); },
         {{{20, 30}, button.fill}, {{10, 30}, button.border}, {{5, 30}, kWhite}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const BgraImage image = paint(400, 80, [&](Painter& p) {
            const Status drawn = row.paint(p);
            EXPECT_TRUE(drawn) << drawn.failure().message;
        });
        for (const auto& [at, colour] : row.samples) EXPECT_TRUE(testing::has_colour(image, at, colour));
    }
}

}  // namespace
}  // namespace glimmerly
