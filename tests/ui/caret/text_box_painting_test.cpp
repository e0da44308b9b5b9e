// The in-place text box drawn from a hidden EDIT control. Fonts differ under
// Wine: the checks count colours in places, never letter shapes.

#include "ui/caret/text_box_painting.h"

#include <gtest/gtest.h>

#include "app/win/owners.h"
#include "core/editor/chrome_math.h"
#include "core/editor/text_box.h"
#include "tests/app/render/render_support.h"

namespace glimmerly {
namespace {

using testing::has_colour;

constexpr Point kAnchor{30, 30};
const ChromeClock::time_point kStart = ChromeClock::time_point{} + std::chrono::hours(1);

class TextBoxPainting : public testing::RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        edit_.reset(CreateWindowExW(0, L"EDIT", L"", WS_POPUP | ES_AUTOHSCROLL, 0, 0, 100, 20, nullptr, nullptr,
                                    nullptr, nullptr));
        ASSERT_TRUE(edit_);
        box_.edit = edit_.get();
        box_.box.at = kAnchor;
        box_.box.color = {0, 0, 0};
    }

    void type(const wchar_t* text, int start, int end) {
        SetWindowTextW(edit_.get(), text);
        SendMessageW(edit_.get(), EM_SETSEL, start, end);
    }

    BgraImage draw(ChromeClock::time_point now = kStart) {
        return paint(240, 100, [&](Painter& p) {
            const Status drawn = draw_text_object(p, box_, caret_, {true, true, 1.0, now});
            EXPECT_TRUE(drawn) << drawn.failure().message;
        });
    }

    // Pixels of about that colour in the rectangle.
    static int count(const BgraImage& image, const Box& area, Rgb colour) {
        int n = 0;
        for (auto y = static_cast<std::uint32_t>(area.top); y < area.bottom; ++y)
            for (auto x = static_cast<std::uint32_t>(area.left); x < area.right; ++x)
                n += testing::close_to(testing::pixel(image, x, y), colour, 40);
        return n;
    }

    // The first and the past-the-last column of about that colour in the rows.
    static std::pair<int, int> ink_columns(const BgraImage& image, Rgb colour, double top, double bottom) {
        std::pair<int, int> columns{INT_MAX, -1};
        for (auto y = static_cast<std::uint32_t>(top); y < bottom; ++y)
            for (std::uint32_t x = 0; x < image.width; ++x)
                if (testing::close_to(testing::pixel(image, x, y), colour, 60))
                    columns = {std::min<int>(columns.first, x), std::max<int>(columns.second, x + 1)};
        return columns;
    }

    win::UniqueWindow edit_;
    TextBoxView box_;
    CaretState caret_{{}, std::chrono::milliseconds(500)};
};

TEST_F(TextBoxPainting, ALabelsLettersContrastWithItsBoxUnlessItHasItsOwnInk) {
    const struct {
        const char* name;
        Rgb box;
        std::optional<Rgb> ink;
        Rgb letters;
    } rows[] = {
        {"white box", {255, 255, 255}, std::nullopt, {0, 0, 0}},
        {"black box", {0, 0, 0}, std::nullopt, {255, 255, 255}},
        {"own ink", {40, 90, 200}, Rgb{250, 220, 0}, {250, 220, 0}},
    };
    type(L"WWW", 0, 0);
    box_.box.label = LabelMode::fit();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        box_.box.color = row.box;
        box_.box.ink = row.ink;
        const BgraImage image = draw();
        EXPECT_TRUE(has_colour(image, {kAnchor.x - 8, kAnchor.y + 10}, row.box));  // the box's margin
        EXPECT_GT(count(image, box_at(kAnchor.x, kAnchor.y, 60, 30), row.letters), 30);
    }
}

TEST_F(TextBoxPainting, TheCaretStandsAfterTheTextAndBlinksOnlyWhileItRests) {
    auto letter = measure_annotation_text(*resources_, "W", box_.box.size, false, 0);
    ASSERT_TRUE(letter);
    using std::chrono::milliseconds;
    const struct {
        const char* name;
        const wchar_t* text;
        milliseconds elapsed;
        bool shown;
    } rows[] = {
        {"empty, just typed", L"", milliseconds(0), true},
        {"resting, second half-period", L"", milliseconds(600), false},
        {"resting, third half-period", L"", milliseconds(1100), true},
        {"a letter typed restarts the blink", L"W", milliseconds(1600), true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        type(row.text, 1, 1);
        const BgraImage image = draw(kStart + row.elapsed);
        // A caret's width (2 px) past the text's end.
        const double x = kAnchor.x + 1 + (*row.text ? letter->w : 0.0);
        EXPECT_EQ(count(image, box_at(x, kAnchor.y + 5, 2, 15), {0, 0, 0}) > 20, row.shown);
    }
}

TEST_F(TextBoxPainting, TheScrollKeepsTheCaretInViewAndReturnsWhenTheTextShrinks) {
    box_.visible_width = 60;
    type(L"WWWWWWWWWW", 10, 10);
    const BgraImage long_text = draw();
    EXPECT_GT(box_.box.scroll.scroll, 0.0f);
    // The text's end and the caret, scrolled back inside the visible width.
    EXPECT_GT(count(long_text, box_at(kAnchor.x + 40, kAnchor.y + 5, 20, 15), {0, 0, 0}), 20);
    EXPECT_EQ(count(long_text, box_at(kAnchor.x + 62, 0, 100, 100), {0, 0, 0}), 0);
    type(L"", 0, 0);
    draw();
    EXPECT_EQ(box_.box.scroll.scroll, 0.0f);
}

TEST_F(TextBoxPainting, ASelectionIsHighlightedUnderTheTextAndHidesTheCaret) {
    type(L"WWW", 0, 3);
    auto width = measure_annotation_text(*resources_, "WWW", box_.box.size, false, 0);
    ASSERT_TRUE(width);
    const BgraImage image = draw();
    EXPECT_GT(count(image, box_at(kAnchor.x, kAnchor.y, width->w, 20), {188, 219, 255}), 100);
    EXPECT_EQ(count(image, box_at(kAnchor.x + width->w + 1, kAnchor.y, 40, 30), {0, 0, 0}), 0);
}

TEST_F(TextBoxPainting, TheOpenBoxsLettersStandInTheColumnsOfTheObjectItCommits) {
    const struct {
        const char* name;
        const wchar_t* text;
        LabelMode label;
    } rows[] = {
        {"wrapping label", L"WW W WWW WW", LabelMode::wrap(90)},
        {"fitted label, lines of two lengths", L"W\r\nWWWW", LabelMode::fit()},
        {"plain text", L"WW\r\nW", LabelMode::none()},
    };
    box_.box.ink = Rgb{250, 220, 0};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        type(row.text, 0, 0);
        box_.box.label = row.label;
        const BgraImage open = paint(200, 160, [&](Painter& p) { (void)draw_text_object(p, box_, caret_, {false}); });
        const std::string text = text_box_stored_text(read_edit_text(edit_.get()));
        const bool wrap = row.label.kind == LabelKind::Wrap;
        EditorState state;
        ASSERT_TRUE(commit_text_box(state, box_.box, text,
                                    measure_annotation_text(*resources_, text, 24, wrap, row.label.wrap_width)));
        const BgraImage committed = RenderTest::draw(state.objects);
        const Rgb ink = row.label.is_label() ? *box_.box.ink : box_.box.color;
        // Middle rows of the first line and of the second, whose place counts too when it is shorter.
        for (const double top : {kAnchor.y + 8, kAnchor.y + 42})
            EXPECT_EQ(ink_columns(open, ink, top, top + 8), ink_columns(committed, ink, top, top + 8));
    }
}

}  // namespace
}  // namespace glimmerly
