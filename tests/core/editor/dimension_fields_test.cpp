#include "core/editor/dimension_fields.h"

#include "tests/core/support/monitors.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

constexpr Box kSelection{100, 50, 400, 250};

EditorState capture() { return capture_over({{{0, 0, 1920, 1080}, 1.5}}, kSelection); }

TEST(DimensionFieldsText, TheLabelTruncatesEachSideWhileTheFieldsRoundTiesToEven) {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    struct Row { const char* name; Box selection; const char* label; const char* width; const char* height; };
    const Row rows[] = {
        {"quarter pixels", {0.25, 0.75, 2, 3.5}, "1 \u00d7 2", "2", "3"},
        {"a fraction above a whole", {10, 20, 1290.4, 740}, "1280 \u00d7 720", "1280", "720"},
        {"ties", {0, 0, 1280.5, 1281.5}, "1280 \u00d7 1281", "1280", "1282"},
        {"a hair under a whole", {0, 0, 1279.999, 2}, "1279 \u00d7 2", "1280", "2"},
        {"toward zero below zero", {3.5, 0, 2, 2}, "-1 \u00d7 2", "-2", "2"},
        {"past the 32-bit range, and NaN", {0, 0, 1e12, kNaN}, "2147483647 \u00d7 0", "2147483647", "0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Box& s = row.selection;
        EXPECT_EQ(selection_size_label(s), row.label);
        EXPECT_EQ(whole_pixels_text(s.right - s.left), row.width);
        EXPECT_EQ(whole_pixels_text(s.bottom - s.top), row.height);
    }
}

TEST(DimensionFieldsCommit, AppliesWholeSizesFromTheTopLeftCornerAndRefusesTheRest) {
    const struct {
        const char* name;
        std::u16string width, height;
        std::optional<TextId> hint;  // none: applied
        Box selection;
    } rows[] = {
        {"arithmetic", u"800+20", u"1920/2", {}, {100, 50, 920, 1010}},
        {"decimal comma making a whole", u"1,5*4", u"2", {}, {100, 50, 106, 52}},
        {"blanks around", u" 640\t", u"\n480 ", {}, {100, 50, 740, 530}},
        {"nearly whole sum", u"0.1*30", u"2", {}, {100, 50, 103, 52}},
        {"zero", u"0", u"480", TextId::crop_invalid, kSelection},
        {"fraction", u"100,5", u"480", TextId::crop_invalid, kSelection},
        {"space inside a number", u"6 40", u"480", TextId::crop_invalid, kSelection},
        {"past 32 bits", u"4294967296", u"480", TextId::crop_invalid, kSelection},
        {"longer than a field takes", std::u16string(129, u'1'), u"480", TextId::crop_invalid, kSelection},
        {"lone surrogate", u"64\xD800", u"480", TextId::crop_invalid, kSelection},
        {"width leaves the frame", u"1821", u"480", TextId::crop_outside, kSelection},
        {"height leaves the frame, width stays too", u"640", u"1031", TextId::crop_outside, kSelection},
        {"exactly to the frame's edge", u"1820", u"1030", {}, {100, 50, 1920, 1080}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState state = capture();
        DimensionFields fields;
        const DimensionCommit commit =
            commit_dimension_fields(state, &fields, row.width, row.height, true, DimensionFocus::Height);
        EXPECT_EQ(commit.closed(), !row.hint);
        EXPECT_EQ(fields.hint, row.hint);
        EXPECT_EQ(state.capture_selection, row.selection);
        EXPECT_TRUE(state.undo_stack.empty());
    }
}

TEST(DimensionFieldsCommit, ClosesUnchangedWhenDiscardedAndFocusesTheWidthAfterARefusalFromOutside) {
    EditorState state = capture();
    DimensionFields fields;
    EXPECT_EQ(commit_dimension_fields(state, &fields, u"0", u"0", false, DimensionFocus::Width).outcome,
              DimensionCommitOutcome::Discarded);
    const DimensionCommit refused =
        commit_dimension_fields(state, &fields, u"0", u"9", true, DimensionFocus::Elsewhere);
    EXPECT_FALSE(refused.closed());
    EXPECT_TRUE(refused.focus_width);
    EXPECT_EQ(state.capture_selection, kSelection);
}

TEST(DimensionFieldsKeys, TabAlternatesEscClosesEnterCommits) {
    using enum DimensionKey;
    EXPECT_EQ(dimension_field_key(true, kVkTab, DimensionFocus::Width), FocusHeight);
    EXPECT_EQ(dimension_field_key(true, kVkTab, DimensionFocus::Height), FocusWidth);
    EXPECT_EQ(dimension_field_key(true, kVkTab, DimensionFocus::Elsewhere), FocusWidth);
    EXPECT_EQ(dimension_field_key(true, kVkEscape, DimensionFocus::Height), Close);
    EXPECT_EQ(dimension_field_key(true, kVkReturn, DimensionFocus::Width), Commit);
    EXPECT_EQ(dimension_field_key(false, kVkEscape, DimensionFocus::Width), PassOn);
}

TEST(DimensionFieldsLayout, OpensWithTheRoundedSizeAndGrowsThePanelWithTheTypedTexts) {
    EditorState state = capture();
    state.capture_selection = Box{0, 0, 1280.5, 720.4};
    const auto opening = open_dimension_fields(state);
    ASSERT_TRUE(opening);
    EXPECT_EQ(opening->width_text, "1280");
    EXPECT_EQ(opening->height_text, "720");
    EXPECT_EQ(opening->fields.font_size, 21.0f);  // 14 at scale 1.5

    DimensionFields fields = opening->fields;
    const auto narrow = store_dimension_layout(state, &fields, std::array<double, 2>{40, 30});
    const auto wide = store_dimension_layout(state, &fields, std::array<double, 2>{120, 30});
    ASSERT_TRUE(narrow && wide);
    EXPECT_GT(wide->width.right - wide->width.left, narrow->width.right - narrow->width.left);
    EXPECT_EQ(fields.height_corner, (Point{wide->height.left, wide->height.top}));
}

}  // namespace
}  // namespace glimmerly
