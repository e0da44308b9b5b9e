#include "core/editor/board_start.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/core/support/objects.h"

namespace glimmerly {
namespace {

TEST(NewEditorStateForScene, OpensThePageReadyToDrawWithTheArrow) {
    Scene scene;
    scene.objects = {testing::rectangle(7, {10, 10, 50, 50})};
    scene.last = 7;
    const EditorState state = new_editor_state_for_scene(
        BgraImage{std::vector<std::uint8_t>(40 * 30 * 4), 40, 30}, scene, {{{0, 0, 40, 30}, 1.0}});
    EXPECT_TRUE(state.board_mode);
    EXPECT_EQ(state.tool, Tool::Arrow);
    EXPECT_FALSE(state.selecting);
    EXPECT_EQ(state.capture_selection, (Box{0, 0, 40, 30}));
    ASSERT_EQ(state.objects.size(), 1u);
    EXPECT_EQ(state.last_id, 7u);
}

TEST(PackClosedRectangle, PacksTheScreenRectangleOrGivesZero) {
    const struct {
        const char* name;
        std::optional<Box> selection;
        PixelPoint origin;
        std::uint64_t packed;
    } rows[] = {
        {"none", std::nullopt, {0, 0}, 0},
        {"plain", Box{1, 2, 3, 4}, {0, 0}, 0x0004000300020001ull},
        {"moved by a negative origin, halves away from zero", Box{0.5, 0, 10, 10}, {-20, -5}, 0x0005FFF6FFFBFFEDull},
        {"empty", Box{5, 5, 5, 9}, {0, 0}, 0},
        {"corner beyond 32767", Box{0, 0, 100, 100}, {32700, 0}, 0},
        {"corner at -32768", Box{0, 0, 100, 100}, {-32768, 0}, 0x0064806400008000ull},
        {"not finite", Box{std::nan(""), 0, 10, 10}, {0, 0}, 0x000A000A00000000ull},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(pack_closed_rectangle(row.selection, row.origin), row.packed);
    }
}

}  // namespace
}  // namespace glimmerly
