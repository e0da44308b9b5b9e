#include "core/render/caret.h"

#include <gtest/gtest.h>

#include <cmath>

namespace glimmerly {
namespace {

TEST(Caret, WidthIsATwelfthOfTheSizeButAtLeastTwoUnits) {
    EXPECT_DOUBLE_EQ(caret_width(24, 1.0), 2.0);
    EXPECT_DOUBLE_EQ(caret_width(12, 1.5), 3.0);
    EXPECT_DOUBLE_EQ(caret_width(60, 1.0), 5.0);
    EXPECT_DOUBLE_EQ(caret_width(12, NAN), 1.0);
}

TEST(Caret, StandsClearOfTheBoxEdgeAndBesideTheLastCharacter) {
    struct Row { const char* name; std::u16string text; std::uint32_t caret; double x; };
    // Hit-tested x 10, caret 2 wide.
    const Row rows[] = {
        {"empty box", u"", 0, 12},     {"start of text", u"ab", 0, 11}, {"between letters", u"ab", 1, 10},
        {"end of text", u"ab", 2, 12}, {"before a break", u"a\r\nb", 1, 12}, {"after a break", u"a\nb", 2, 11},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_DOUBLE_EQ(caret_line_x(row.text, row.caret, 10.0, 2.0), row.x);
    }
}

TEST(TextBoxScroll, KeepsTheCaretInViewAndComesBackWhenTheTextShrinks) {
    const double w = 2.0, box = 100.0;
    float scroll = 0.0f;
    for (int n = 1; n <= 40; ++n) {  // typing at the end, 5 px a letter
        scroll = updated_scroll(scroll, 5.0 * n, w, 5.0 * n, box);
        EXPECT_LE(5.0 * n + 1.5 * w - scroll, box) << n;
        EXPECT_GE(5.0 * n - w / 2 - scroll, 0.0) << n;
    }
    EXPECT_FLOAT_EQ(scroll, 103.0f);
    EXPECT_FLOAT_EQ(updated_scroll(scroll, 0.0, w, 200.0, box), 0.0f) << "home";
    EXPECT_FLOAT_EQ(updated_scroll(scroll, std::nullopt, w, 0.0, box), 0.0f) << "everything deleted";
}

TEST(TextBoxScroll, FollowsWhicheverEndOfTheSelectionMoved) {
    const TextBoxScroll last{3, 8, 0.0f};
    EXPECT_EQ(scroll_target(3, 9, last), 9u) << "caret moved";
    EXPECT_EQ(scroll_target(2, 8, last), 2u) << "only the start moved";
    EXPECT_EQ(scroll_target(3, 8, last), std::nullopt);
    EXPECT_EQ(scroll_target(8, 8, TextBoxScroll{8, 8, 0.0f}), 8u) << "an empty selection is always shown";
}

TEST(CaretBlink, ShowsAtOnceAfterAChangeThenEveryOtherPeriod) {
    using namespace std::chrono_literals;
    const ChromeClock::time_point t0{};
    const std::optional<ChromeClock::duration> period = 500ms;
    CaretBlink blink;
    const CaretKey key{7, 3, 10};
    EXPECT_TRUE(caret_shown(blink, key, t0, period));
    EXPECT_FALSE(caret_shown(blink, key, t0 + 500ms, period));
    EXPECT_TRUE(caret_shown(blink, key, t0 + 1000ms, period));
    EXPECT_EQ(caret_redraw_in(blink, period, t0 + 1200ms), 300ms) << "the window wakes for the next blink";
    EXPECT_EQ(caret_redraw_in(blink, std::nullopt, t0 + 1200ms), std::nullopt);
    EXPECT_EQ(caret_redraw_in(CaretBlink{}, period, t0), std::nullopt) << "not drawn yet";
    EXPECT_TRUE(caret_shown(blink, CaretKey{7, 4, 11}, t0 + 1701ms, period)) << "typing restarts it";
    EXPECT_TRUE(caret_shown(blink, CaretKey{7, 4, 11}, t0 + 9900ms, std::nullopt)) << "no blinking";
    EXPECT_TRUE(caret_shown(blink, CaretKey{7, 4, 11}, t0 + 9900ms, ChromeClock::duration::zero()));
}

TEST(LabelBox, SurroundsTheTextByItsFontSize) {
    EXPECT_EQ(label_box({100, 50}, {80, 30}, 20), (LabelBox{{92, 45, 188, 85}, 5}));
}

}  // namespace
}  // namespace glimmerly
