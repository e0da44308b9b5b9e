#include "core/editor/selection_geometry.h"

#include "core/editor/overlay_geometry.h"
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

TEST(SizePanel, SitsAboveTheSelectionsRightEndInsideTheFrame) {
    EditorState state = capture_over(kSideBySide, Box{100, 0, 500, 400});
    EXPECT_EQ(place_size_panel(state), (SizePanel{{362, 0, 470, 26}, {474, 0, 500, 26}, {}})) << "at the top edge: y 0";
    state.capture_selection = Box{2000, 300, 3000, 600};  // 200 %: twice the size
    EXPECT_EQ(place_size_panel(state), (SizePanel{{2724, 236, 2940, 288}, {2948, 236, 3000, 288}, {}}));

    // While edited, fields that do not fit the frame split the room in half.
    state.frame_width = 400;
    state.monitor_areas = {{{0, 0, 400, 1080}, 1.0}};
    state.capture_selection = Box{0, 300, 400, 600};
    state.size_panel_widths = std::array<double, 2>{900, 300};
    const auto fields = place_size_panel(state)->fields;
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->width, (Box{8, 271, 178, 291}));  // 170 units each, 14 apart
    EXPECT_EQ(fields->height, (Box{192, 271, 362, 291}));
    state.size_panel_widths = std::nan("");
    EXPECT_EQ(place_size_panel(state)->panel, (Box{262, 268, 370, 294})) << "a width that is no number: unmeasured";
    state.board_mode = true;
    EXPECT_FALSE(place_size_panel(state));
}

TEST(SelectionColours, ShowTheSelectedLabelsOwnInkOrTheChosenOne) {
    EditorState state;
    const SceneObject label = text(7, "hi", {10, 10}, LabelMode::fit());
    state.objects = {label};
    state.selection = {7};
    const Rgb chosen{80, 153, 244};
    EXPECT_EQ(selection_colour_state(state, chosen, {}), (SelectionColourState{label.color, {0, 0, 0}, true}));
    EXPECT_EQ(selection_colour_state(state, chosen, {InkSource::Colour, {1, 2, 3}}),
              (SelectionColourState{chosen, {1, 2, 3}, false}));
    state.selection.clear();
    state.label_ink = Rgb{9, 9, 9};
    EXPECT_EQ(selection_colour_state(state, chosen, {}), (SelectionColourState{chosen, {9, 9, 9}, false}));
}

TEST(FramePixel, ReadsThePixelUnderAPointClampedIntoTheFrame) {
    EditorState state;
    state.frozen_frame = {std::vector<std::uint8_t>(4 * 8 * 12), 8, 12};
    for (std::size_t i = 0; i < state.frozen_frame.pixels.size(); i += 4)
        state.frozen_frame.pixels[i] = static_cast<std::uint8_t>(i / 4);  // blue = pixel index
    // Left of the frame, right of it, inside (truncated), and at a coordinate that is no number.
    const std::pair<Point, std::uint8_t> rows[] = {{{-5, 10.7}, 10 * 8}, {{8 + 3, 0}, 7}, {{2.9, 3.9}, 3 * 8 + 2},
                                                   {{std::nan(""), 1}, 8}};
    for (const auto& [at, pixel] : rows) EXPECT_EQ(sample_frame_pixel(state, at), (Rgb{0, 0, pixel})) << at.x;
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
    state.space_held = true;
    state.selection.clear();
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
    state.pointer = {place_toolbar(state)->left + 1, place_toolbar(state)->bottom - 1};
    EXPECT_FALSE(drawing_cursor_active(state));
    EXPECT_FALSE(brush_preview_visible(state));
}

TEST(OverlayGeometry, BrushCircleShowsWhatTheToolPaints) {
    EditorState state = capture_over({{{0, 0, 1920, 1080}, 1.0}});
    state.pointer = {500, 500};
    state.stroke_width = 8;
    state.tool = Tool::Highlighter;
    EXPECT_EQ(brush_preview_width(state), (BrushPreview{40, 40}));
    state.tool = Tool::Pen;
    EXPECT_EQ(brush_preview_width(state), (BrushPreview{8, 8}));
    state.tool = Tool::Eraser;
    state.eraser_size = 20;
    state.monitor_views[0].zoom = 2.0;
    EXPECT_EQ(brush_preview_width(state), (BrushPreview{40, 20}));
}

TEST(OverlayGeometry, MagnifierSitsBesideThePointerOnTheSideWhereItFits) {
    EditorState state = capture_over({{{0, 0, 1920, 1080}, 1.0}, {{1920, 0, 3840, 1080}, 2.0}});
    state.pointer = {100, 100};
    expect_near(place_magnifier_box(state), {124, 124, 250, 288});
    state.pointer = {3830, 1070};
    expect_near(place_magnifier_box(state), {3830 - 48 - 252, 1070 - 48 - 328, 3830 - 48, 1070 - 48});
}

}  // namespace
}  // namespace glimmerly
