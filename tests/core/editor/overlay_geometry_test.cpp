#include "core/editor/overlay_geometry.h"

#include "tests/core/support/monitors.h"
#include "tests/core/support/near.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

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
