// Lines of interface text as they land in a picture.

#include "app/render/interface_text.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/app/render/render_support.h"

namespace glimmerly {
namespace {

// The bounds of the pixels that pass `ink`.
Box ink_bounds(const BgraImage& image, bool (*ink)(Rgb)) {
    Box b{1e9, 1e9, -1, -1};
    for (std::uint32_t y = 0; y < image.height; ++y)
        for (std::uint32_t x = 0; x < image.width; ++x)
            if (ink(testing::pixel(image, x, y)))
                b = {std::min<double>(b.left, x), std::min<double>(b.top, y), std::max<double>(b.right, x + 1),
                     std::max<double>(b.bottom, y + 1)};
    return b;
}

class InterfaceText : public testing::RenderTest {};

TEST_F(InterfaceText, MiddleLeftTextRunsPastANarrowRectangleThatClipsThePlainText) {
    const Box rect{10, 10, 40, 70};
    const auto ink = [&](bool middle_left) {
        return ink_bounds(paint(160, 80, [&](Painter& p) {
                              const Status drawn =
                                  middle_left ? paint_text_middle_left(p, "WWWW", rect, 20, UiTextStyle::Strong, {})
                                              : draw_ui_text(p, "WWWW", rect, 20, PaintColour::grey(0));
                              EXPECT_TRUE(drawn) << drawn.failure().message;
                          }),
                          [](Rgb c) { return c.r < 128; });
    };
    EXPECT_GT(ink(true).right, rect.right + 20);
    EXPECT_LE(ink(false).right, rect.right);
}

TEST_F(InterfaceText, LabelAndNoteAreCentredAsOneBlockWithTheNoteOneLineUnderTheLabel) {
    Size label{}, note{};
    const BgraImage image = paint(200, 160, [&](Painter& p) {
        label = measure_ui_text(p, "Label", 28).value_or({});
        auto small = styled_text_format(p.resources, 22, UiTextStyle::Small, current_language());
        ASSERT_TRUE(small);
        note = measure_text(p.resources, "Note", small->get(), false, 0).value_or({});
        const Status drawn = paint_label_with_note(p, {"Label", 14, {200, 0, 0}}, {"Note", 11, {0, 0, 200}},
                                                   {10, 0, 190, 160}, 2);
        EXPECT_TRUE(drawn) << drawn.failure().message;
    });
    ASSERT_GT(label.h * note.h, 0);
    const double top = 80 - (label.h + note.h) / 2;
    const Box label_ink = ink_bounds(image, [](Rgb c) { return c.r > c.b + 40; });
    const Box note_ink = ink_bounds(image, [](Rgb c) { return c.b > c.r + 40; });
    EXPECT_GE(label_ink.top, top);
    EXPECT_LE(label_ink.bottom, top + label.h);
    EXPECT_GE(note_ink.top, top + label.h);
    EXPECT_LE(note_ink.bottom, top + label.h + note.h);
}

}  // namespace
}  // namespace glimmerly
