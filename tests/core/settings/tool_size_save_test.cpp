#include "core/settings/tool_size_save.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace glimmerly {
namespace {

using Kind = SaveTimerStep::Kind;

TEST(ToolSizeSave, ARunOfChangesIsWrittenOnceAfterTheLastAndAStrayTimerWritesNothing) {
    ToolSizeSave save;
    EXPECT_FALSE(note_tool_sizes(save, save.remembered, 0));  // nothing changed
    EXPECT_TRUE(note_tool_sizes(save, {4, 14}, 0));
    EXPECT_TRUE(note_tool_sizes(save, {5, 14}, 100));
    EXPECT_TRUE(note_tool_sizes(save, {6, 20}, 200));
    const SaveTimerStep early = settings_save_timer_step(save, 250);
    EXPECT_EQ(early.kind, Kind::Wait);
    EXPECT_EQ(early.wait_ms, 200u);
    EXPECT_EQ(settings_save_timer_step(save, 450).kind, Kind::Save);
    EXPECT_EQ(save.pending, (ToolSizes{6, 20}));
    tool_sizes_saved(save);
    EXPECT_EQ(settings_save_timer_step(save, 10000).kind, Kind::Idle);
    EXPECT_FALSE(note_tool_sizes(save, {6, 20}, 500));  // saved sizes stay remembered
}

TEST(ToolSizeSave, SizesAreRoundedIntoTheirRangesAndAMeaninglessScaleSavesNothing) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct { const char* name; double width, eraser, scale; std::optional<ToolSizes> remembered; } rows[] = {
        {"0.4 pixels is 1, an eraser of 200 is 128", 0.4, 200, 1.0, ToolSizes{1, 128}},
        {"divided by a zoom of 2", 10, 30, 2.0, ToolSizes{5, 15}},
        {"scale 0", 10, 30, 0.0, std::nullopt},
        {"scale NaN", 10, 30, nan, std::nullopt},
        {"scale infinite", 10, 30, inf, std::nullopt},
        {"width NaN", nan, 30, 1.0, std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(tool_sizes_to_remember(row.width, row.eraser, row.scale), row.remembered);
    }
}

}  // namespace
}  // namespace glimmerly
