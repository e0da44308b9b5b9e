#include "core/editor/capture_start.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

BgraImage black(std::uint32_t w, std::uint32_t h) { return {std::vector<std::uint8_t>(w * h * 4), w, h}; }

TEST(CaptureStart, ANewCaptureIsBeingSelectedOverOneUnzoomedViewPerMonitor) {
    EditorState state = new_capture_state(black(30, 10), {{{0, 0, 20, 10}, 1.0}, {{20, 0, 30, 10}, 2.0}});
    ASSERT_EQ(state.monitor_views.size(), 2u);
    EXPECT_EQ(state.monitor_views[1], (MonitorView{{20, 0, 30, 10}, {20, 0}, 1.0}));
    EXPECT_TRUE(state.selecting && !state.capture_selection);
}

TEST(CaptureStart, TheSettingsBringTheToolSizesAndACollapsedToolbarBringsThePen) {
    const struct { const char* name; bool mini, folded, board; Tool tool; } rows[] = {
        {"full toolbar", false, true, false, Tool::Arrow},
        {"short form, open", true, false, false, Tool::Arrow},
        {"short form, collapsed", true, true, false, Tool::Pen},
        {"a board page keeps its tool", true, true, true, Tool::Arrow},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Settings settings;
        settings.capture_stroke_width = 9;
        settings.capture_eraser_size = 40;
        settings.custom_color = {1, 2, 3};
        settings.mini_toolbar = row.mini;
        settings.mini_toolbar_folded = row.folded;
        EditorState state = new_capture_state(black(4, 4), {});
        state.board_mode = row.board;
        apply_capture_settings(state, settings);
        EXPECT_EQ(state.tool, row.tool);
        EXPECT_EQ(state.stroke_width, 9.0);
        EXPECT_EQ(state.eraser_size, 40.0);
        EXPECT_EQ(state.custom_colour, (Rgb{1, 2, 3}));
    }
}

TEST(CaptureStart, TheWheelHintShowsUntilTheSettingsRecordItWasUsed) {
    for (const bool used : {false, true}) {
        SCOPED_TRACE(used ? "used" : "never used");
        Settings settings;
        settings.wheel_hint = used;
        EditorState state = new_capture_state(black(4, 4), {});
        apply_capture_settings(state, settings);
        EXPECT_EQ(state.wheel_hint_shown, !used);
    }
}

}  // namespace
}  // namespace glimmerly
