#include "core/board/board_page.h"

#include <gtest/gtest.h>

#include "core/document/geometry.h"
#include "tests/core/support/scenes.h"

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

// Two 1920 x 1080 screens side by side, the right one first in the list.
const std::vector<BoardScreen> kTwoScreens = {{"RIGHT", {1920, 0, 3840, 1080}}, {"LEFT", {0, 0, 1920, 1080}}};

const Scene* scene_named(const BoardFile& board, std::string_view name) {
    for (const BoardEntry& entry : board.entries)
        if (entry.name == name) return &entry.scene;
    return nullptr;
}

std::vector<std::string> names_of(const BoardFile& board) {
    std::vector<std::string> names;
    for (const BoardEntry& entry : board.entries) names.push_back(entry.name);
    return names;
}

TEST(MergeScreenObjects, EachObjectGoesToTheScreenOfItsCentre) {
    const std::vector<BoardScreen> screens = {
        {"A", {0, 0, 100, 100}}, {"B", {100, 0, 200, 100}}, {"C", {300, 0, 400, 100}}};
    struct Row { const char* name; Box rect; const char* screen; };
    const Row rows[] = {
        {"inside the second screen", {120, 10, 140, 30}, "B"},
        {"centre on the shared edge goes to the earlier screen", {90, 10, 110, 30}, "A"},
        {"centre in a gap goes to the nearest screen", {260, 10, 280, 30}, "C"},
        {"equal distances go to the earlier screen", {240, 10, 260, 30}, "B"},
        {"far beyond every screen", {5000, 5000, 5010, 5010}, "C"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        BoardFile board;
        merge_screen_objects(board, {{rectangle(1, row.rect)}, {}, 1}, screens);
        EXPECT_EQ(names_of(board), std::vector<std::string>{row.screen});
    }
}

TEST(MergeScreenObjects, LinesKeepAttachmentsOnTheirOwnScreenOnly) {
    // A line from a note on the left screen to a note on the right one, its
    // centre on the left screen.
    const SceneObject tied = fastened(line(3, {200, 200}, {1950, 300}), ObjectAttachment{1, {50, 0}},
                                      ObjectAttachment{2, {-100, 0}});
    const BoardPage page{{rectangle(1, {100, 100, 300, 300}), rectangle(2, {1950, 250, 2350, 350}), tied}, {}, 3};
    const auto drawn = resolve_arrow_ends(tied, page.objects);
    ASSERT_TRUE(drawn.has_value());

    BoardFile board;
    merge_screen_objects(board, page, kTwoScreens);
    const Scene* left = scene_named(board, "LEFT");
    ASSERT_NE(left, nullptr);
    ASSERT_EQ(ids_of(left->objects), (std::vector<ObjectId>{1, 2}));
    const LinePayload& stored = *as_line(left->objects[1]);
    EXPECT_EQ(stored.start, (ObjectAttachment{1, {50, 0}}));
    EXPECT_FALSE(stored.end.has_value());
    EXPECT_EQ(stored.to, drawn->to);  // the left screen's origin is 0, 0
    EXPECT_EQ(scene_named(board, "RIGHT")->objects.size(), 1u);
}

// A screen that is there keeps its entry even when emptied, and gets one
// only when it has notes; an absent screen's entry stays while it has notes.
TEST(MergeScreenObjects, KeepsEntriesOfPresentScreensAndOfAbsentScreensWithNotes) {
    const std::vector<BoardScreen> screens = {
        {"LEFT", {0, 0, 100, 100}}, {"RIGHT", {100, 0, 200, 100}}, {"IDLE", {200, 0, 300, 100}}};
    Scene with_note = empty_scene();
    with_note.objects = {rectangle(1, {0, 0, 10, 10})};
    with_note.last = 1;
    Scene only_background = empty_scene();
    only_background.background = {FillRegion{{}, Rgb{1, 2, 3}}};
    BoardFile board{
        {{"LEFT", with_note}, {"PROJECTOR", with_note}, {"OLD", only_background}, {"GONE", empty_scene()}}};
    merge_screen_objects(board, {{rectangle(1, {120, 0, 130, 10})}, {}, 1}, screens);  // the note moved right
    EXPECT_EQ(names_of(board), (std::vector<std::string>{"LEFT", "PROJECTOR", "RIGHT"}));
    EXPECT_TRUE(scene_named(board, "LEFT")->objects.empty());

    // Without screens nothing is known to be gone, so nothing changes.
    const BoardFile before = board;
    merge_screen_objects(board, {}, {});
    EXPECT_EQ(board, before);
}

TEST(MergeScreenObjects, FramesStayWithinWhatTheReaderTakes) {
    const std::vector<BoardScreen> screens = {
        {"HUGE", {0, 0, 40000, 50000}}, {"FLAT", {45000, 0, 45000, 0}}, {"TORN", {50000, 0, 50000.5, 1e300}}};
    BoardFile board;
    const BoardPage page{
        {rectangle(1, {10, 10, 20, 20}), rectangle(2, {44990, -5, 45010, 5}), rectangle(3, {50000, 5, 50000.5, 6})},
        {},
        3};
    merge_screen_objects(board, page, screens);
    ASSERT_EQ(board.entries.size(), 3u);
    EXPECT_EQ(board.entries[0].scene.frame, (FrameSize{32768, 32768}));
    EXPECT_EQ(board.entries[1].scene.frame, (FrameSize{1, 1}));
    EXPECT_EQ(board.entries[2].scene.frame, (FrameSize{1, 32768}));
    const auto text = write_board_file(board);
    ASSERT_TRUE(text.ok()) << text.failure().message;
    EXPECT_EQ(read_board_file(*text).value_or({}), board);
}

TEST(JoinScreenScenes, GivesBackThePageThatWasMergedAndSaved) {
    const SceneObject tied = fastened(line(4, {150, 150}, {400, 400}), ObjectAttachment{2, {0, 0}}, std::nullopt);
    const SceneObject filled = with_fill(ellipse(7, {2500, 500, 2700, 600}), {FillRegion{{7, 2}, Rgb{9, 9, 9}}});
    const BoardPage page{{rectangle(2, {100, 100, 200, 200}), tied, filled, label(9, "far right", {3000, 900})},
                         {FillRegion{{2, 7}, Rgb{1, 1, 1}}, FillRegion{{}, Rgb{2, 2, 2}}},
                         9};
    BoardFile board;
    merge_screen_objects(board, page, kTwoScreens);
    // Each screen's scene is in its own coordinates and keeps the page's last id.
    const Scene* right = scene_named(board, "RIGHT");
    ASSERT_NE(right, nullptr);
    EXPECT_EQ(right->origin, (ScreenOrigin{1920, 0}));
    EXPECT_EQ(right->region, (Box{0, 0, 1920, 1080}));
    EXPECT_EQ(right->last, 9u);
    EXPECT_EQ(*object_rect(right->objects.at(0)), (Box{580, 500, 780, 600}));
    const auto read = read_board_file(write_board_file(board).value_or(""));
    ASSERT_TRUE(read.ok());

    // Screen order: the right screen's objects come first, renumbered 1..n;
    // a fill keeps only the ids on its own screen.
    BoardPage expected{{with_fill(filled, {FillRegion{{1}, Rgb{9, 9, 9}}}), page.objects[3], page.objects[0], tied},
                       {FillRegion{{1, 3}, Rgb{1, 1, 1}}, FillRegion{{}, Rgb{2, 2, 2}}},
                       4};
    for (ObjectId id = 1; id <= 4; ++id) expected.objects[id - 1].id = id;
    as_line(expected.objects[3])->start->id = 3;
    EXPECT_EQ(join_screen_scenes(*read, kTwoScreens), expected);
}

TEST(JoinScreenScenes, KeepsOnlyTheFirstBackgroundListWhenScreensDisagree) {
    const auto entry = [](std::string name, std::vector<FillRegion> background) {
        Scene scene = empty_scene();
        scene.objects = {rectangle(1, {0, 0, 10, 10})};
        scene.last = 1;
        scene.background = std::move(background);
        return BoardEntry{std::move(name), std::move(scene)};
    };
    const BoardFile board{{entry("LEFT", {FillRegion{{1}, Rgb{1, 1, 1}}}),
                           entry("RIGHT", {FillRegion{{1}, Rgb{2, 2, 2}}}),
                           entry("THIRD", {FillRegion{{1}, Rgb{1, 1, 1}}, FillRegion{{}, Rgb{1, 1, 1}}})}};
    const std::vector<BoardScreen> screens = {
        {"LEFT", {0, 0, 100, 100}}, {"RIGHT", {100, 0, 200, 100}}, {"THIRD", {200, 0, 300, 100}}};
    const BoardPage page = join_screen_scenes(board, screens);
    EXPECT_EQ(page.background, (std::vector<FillRegion>{FillRegion{{1}, Rgb{1, 1, 1}}}));
    ASSERT_EQ(page.objects.size(), 3u);
    EXPECT_EQ(page.objects[1], rectangle(2, {100, 0, 110, 10}));
    EXPECT_EQ(page.last, 3u);
}

}  // namespace
}  // namespace glimmerly
