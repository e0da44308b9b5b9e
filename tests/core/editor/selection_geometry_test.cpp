#include "core/editor/selection_geometry.h"

#include "core/editor/toolbar.h"
#include "tests/core/support/monitors.h"
#include "tests/core/support/near.h"
#include "tests/core/support/objects.h"

#include <gtest/gtest.h>

#include <cmath>

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

const std::vector<DesktopMonitor> kSideBySide = {{{0, 0, 1920, 1080}, 1.0}, {{1920, 0, 3840, 1080}, 2.0}};

TEST(SelectionHandles, ReachGrowsWithTheMonitorsScale) {
    EditorState state = capture_over(kSideBySide, Box{100, 100, 500, 400});
    EXPECT_EQ(selection_handle_at(state, {100 - 8, 100}), SelectionHandle::TopLeft);
    EXPECT_EQ(selection_handle_at(state, {100 - 8.01, 100}), std::nullopt);
    EXPECT_EQ(selection_handle_at(state, {300, 405}), SelectionHandle::Bottom);
    state.capture_selection = Box{2100, 100, 2500, 400};
    EXPECT_EQ(selection_handle_at(state, {2500 + 15.9, 250}), SelectionHandle::Right);

    EXPECT_EQ(reshape_selection({100, 100, 500, 400}, SelectionHandle::TopLeft, {600, 450}), (Box{500, 400, 600, 450}))
        << "dragged past the opposite corner, still normalised";
    EXPECT_EQ(reshape_selection({100, 100, 500, 400}, SelectionHandle::Left, {50, 9999}), (Box{50, 100, 500, 400}));
}

TEST(SelectionFullScreen, ASecondToggleRestoresUntilTheSelectionChanges) {
    EditorState state = capture_over(kSideBySide, Box{2100, 100, 2500, 400});
    toggle_full_screen_selection(state);
    EXPECT_EQ(state.capture_selection, (Box{1920, 0, 3840, 1080})) << "the monitor under the panel's button";
    toggle_full_screen_selection(state);
    EXPECT_EQ(state.capture_selection, (Box{2100, 100, 2500, 400}));
    toggle_full_screen_selection(state);
    state.capture_selection = Box{2000, 10, 3000, 900};
    toggle_full_screen_selection(state);
    EXPECT_EQ(state.capture_selection, (Box{1920, 0, 3840, 1080}));
}

TEST(SelectionPreset, TakenOnlyWhenItFitsTheFrame) {
    struct Row {
        const char* name;
        Box rect;
        bool taken;
    };
    const Row rows[] = {{"one pixel wide", {10, 10, 11, 510}, false},
                        {"past the right edge", {3000, 10, 3841, 500}, false},
                        {"two by two", {0, 0, 2, 2}, true},
                        {"the whole frame", {0, 0, 3840, 1080}, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState state = capture_over(kSideBySide);
        EXPECT_EQ(apply_preset_selection(state, row.rect), row.taken);
        EXPECT_EQ(state.selecting, !row.taken);
        EXPECT_EQ(state.capture_selection.has_value(), row.taken);
    }
}

TEST(SizePanel, SitsAboveTheSelectionsRightEndInsideTheFrame) {
    EditorState state = capture_over(kSideBySide, Box{100, 0, 500, 400});
    auto panel = place_size_panel(state);
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->panel, (Box{362, 0, 470, 26})) << "a selection at the top edge puts it at y 0";
    EXPECT_EQ(panel->button, (Box{474, 0, 500, 26}));

    state.capture_selection = Box{2000, 300, 3000, 600};  // 200 %: twice the size
    panel = place_size_panel(state);
    EXPECT_EQ(panel->button, (Box{2948, 236, 3000, 288}));
    EXPECT_EQ(panel->panel.right - panel->panel.left, 216);

    // While edited, fields that do not fit the frame split the room in half.
    state.frame_width = 400;
    state.monitor_areas = {{{0, 0, 400, 1080}, 1.0}};
    state.capture_selection = Box{0, 300, 400, 600};
    state.size_panel_widths = std::array<double, 2>{900, 300};
    panel = place_size_panel(state);
    ASSERT_TRUE(panel->fields);
    const double wide = panel->fields->width.right - panel->fields->width.left;
    const double high = panel->fields->height.right - panel->fields->height.left;
    EXPECT_EQ(wide, 170);
    EXPECT_EQ(high, 170);
    EXPECT_LE(panel->button.right, 400);

    state.size_panel_widths = std::nan("");
    EXPECT_EQ(place_size_panel(state)->panel.right - place_size_panel(state)->panel.left, 108) << "unmeasured";
    state.board_mode = true;
    EXPECT_FALSE(place_size_panel(state));
}

TEST(SelectionColours, AutomaticInkIsBlackOnLightColoursAndWhiteOnDark) {
    for (const Rgb c : palette_colours()) {
        SCOPED_TRACE(::testing::Message() << int(c.r) << "," << int(c.g) << "," << int(c.b));
        const bool dark = c == Rgb{28, 31, 40};
        EXPECT_EQ(automatic_text_colour(c), dark ? (Rgb{255, 255, 255}) : (Rgb{0, 0, 0}));
    }
    EditorState state;
    SceneObject label = text(7, "hi", {10, 10}, LabelMode::fit());
    as_text(label)->ink = Rgb{1, 2, 3};
    state.objects = {label};
    state.selection = {7};
    const Rgb chosen{80, 153, 244};
    EXPECT_EQ(selection_colour_state(state, chosen, {}), (SelectionColourState{label.color, {1, 2, 3}, false}));
    EXPECT_EQ(selection_colour_state(state, chosen, {InkSource::Automatic, {}}),
              (SelectionColourState{chosen, {0, 0, 0}, true}));
    state.selection.clear();
    state.label_ink = Rgb{9, 9, 9};
    EXPECT_EQ(selection_colour_state(state, chosen, {}), (SelectionColourState{chosen, {9, 9, 9}, false}));
}

TEST(FramePixel, ReadsThePixelUnderAPointClampedIntoTheFrame) {
    EditorState state;
    state.frozen_frame = {std::vector<std::uint8_t>(4 * 8 * 12), 8, 12};
    for (std::size_t i = 0; i < state.frozen_frame.pixels.size(); i += 4)
        state.frozen_frame.pixels[i] = static_cast<std::uint8_t>(i / 4);  // blue = pixel index
    struct Row {
        const char* name;
        Point at;
        int pixel;
    };
    const Row rows[] = {{"left of the frame", {-5, 10.7}, 10 * 8},
                        {"right of the frame", {8 + 3, 0}, 7},
                        {"inside, truncated", {2.9, 3.9}, 3 * 8 + 2},
                        {"no number", {std::nan(""), 1}, 8}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(sample_frame_pixel(state, row.at), (Rgb{0, 0, static_cast<std::uint8_t>(row.pixel)}));
    }
    EXPECT_EQ(sample_frame_pixel(EditorState{}, {0, 0}), std::nullopt);
}

TEST(HoverQueries, AnswerOnlyWhereTheyApply) {
    EditorState state = capture_over(kSideBySide, Box{100, 100, 900, 700});
    state.objects = {rectangle(1, {200, 200, 400, 400})};
    state.tool = Tool::Select;
    state.pointer = {200, 300};
    EXPECT_EQ(hover_highlight_targets(state), (std::vector<ObjectId>{1}));
    state.selection = {1};
    EXPECT_TRUE(hover_highlight_targets(state).empty()) << "already selected";
    state.selection.clear();
    state.space_held = true;
    EXPECT_TRUE(hover_highlight_targets(state).empty()) << "panning";
    state.space_held = false;

    state.fill_mode = true;
    EXPECT_TRUE(fill_preview_target(state));
    state.pointer = {100, 100};  // on a selection handle
    EXPECT_FALSE(fill_preview_target(state));
    state.pointer = {950, 300};  // outside the selection
    EXPECT_FALSE(fill_preview_target(state));

    state.fill_mode = false;
    state.crosshair_cursor = true;
    state.tool = Tool::Pen;
    EXPECT_TRUE(drawing_cursor_active(state));
    EXPECT_TRUE(brush_preview_visible(state));
    const auto toolbar = place_toolbar(state);
    ASSERT_TRUE(toolbar);
    state.pointer = {toolbar->left + 1, toolbar->bottom - 1};
    EXPECT_FALSE(drawing_cursor_active(state));
    EXPECT_FALSE(brush_preview_visible(state));
}

}  // namespace
}  // namespace glimmerly
