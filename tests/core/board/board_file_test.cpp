#include "core/board/board_file.h"

#include <gtest/gtest.h>

#include <limits>

#include "core/document/scene_text.h"
#include "tests/core/support/scenes.h"

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

Scene note_scene(ObjectId id) {
    Scene scene = empty_scene(1920, 1080);
    scene.objects = {rectangle(id, {10, 10, 200, 100})};
    scene.last = id;
    return scene;
}

std::string entry_text(std::string_view name, const Scene& scene) {
    const std::string text = write_scene_text(scene);
    return "screen " + std::string(name) + " " + std::to_string(text.size()) + "\n" + text;
}

// The header carries the highest version any screen's scene needs.
TEST(BoardFileWriter, WritesEachScreenAfterItsNameAndLengthUnderTheHighestVersion) {
    Scene blurred = note_scene(1);
    blurred.objects.push_back(blur(2, {0, 0, 50, 50}));
    blurred.last = 2;
    const auto text = write_board_file({{{"left", note_scene(1)}, {"right", blurred}}});
    EXPECT_EQ(text.value_or(""),
              "glimmerly-board 7\n" + entry_text("left", note_scene(1)) + entry_text("right", blurred));
    EXPECT_EQ(write_board_file({}).value_or(""), "glimmerly-board 1\n");
}

TEST(BoardFile, EveryKindRoundTripsUnderOddScreenNames) {
    const BoardFile board{{{"\\\\.\\DISPLAY1", note_scene(1)},
                           {"Écran-2", scene_with_every_kind()},
                           {std::string(kMaxScreenNameBytes, 'n'), empty_scene()}}};
    const auto text = write_board_file(board);
    ASSERT_TRUE(text.ok()) << text.failure().message;
    EXPECT_EQ(read_board_file(*text).value_or({}), board);
}

TEST(BoardFileWriter, RefusesToSaveWhatItsReaderWouldRefuse) {
    Scene too_wide = note_scene(1);
    too_wide.frame.width = 40000;
    BoardFile crowded;
    for (int i = 0; i < 65; ++i) crowded.entries.push_back({"screen-" + std::to_string(i), empty_scene()});
    struct Row { const char* name; BoardFile board; };
    const Row rows[] = {
        {"empty name", {{{"", note_scene(1)}}}},
        {"name of 513 bytes", {{{std::string(kMaxScreenNameBytes + 1, 'n'), note_scene(1)}}}},
        {"name with DEL", {{{"Left\x7F", note_scene(1)}}}},
        {"name with a space", {{{"Left 2", note_scene(1)}}}},
        {"name that is not UTF-8", {{{"Left\xC3", note_scene(1)}}}},
        {"the same name twice", {{{"A", note_scene(1)}, {"A", note_scene(2)}}}},
        {"65 entries", crowded},
        {"scene that fails validation", {{{"A", too_wide}}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(write_board_file(row.board).ok());
    }
    crowded.entries.pop_back();
    const auto sixty_four = write_board_file(crowded);
    ASSERT_TRUE(sixty_four.ok());
    EXPECT_EQ(read_board_file(*sixty_four).value_or({}), crowded);
}

TEST(BoardFileReader, RefusesEveryMalformedFileAsDamagedOrNewer) {
    const Scene scene = note_scene(1);
    const std::string head = "glimmerly-board 1\n", body = entry_text("A", scene);
    const std::string good = head + body + entry_text("B", scene);
    ASSERT_TRUE(read_board_file(good).ok());
    const std::string scene_text = write_scene_text(scene);
    const auto counted = [&](std::size_t count) { return head + "screen A " + std::to_string(count) + "\n"; };
    std::string crowded = head;
    for (int i = 0; i < 65; ++i) crowded += entry_text("s" + std::to_string(i), scene);

    const Failure newer = board_file_error(BoardFileError::Newer);
    const Failure damaged = board_file_error(BoardFileError::Damaged);
    struct Row { const char* name; std::string text; const Failure& expected; };
    const Row rows[] = {
        {"version 9", "glimmerly-board 9\n" + body, newer},
        {"version beyond u32", "glimmerly-board 4294967296\n", damaged},
        {"version 0", "glimmerly-board 0\n", damaged},
        {"no space", "glimmerly-board1\n", damaged},
        {"no version", "glimmerly-board\n", damaged},
        {"no line feed", "glimmerly-board 1", damaged},
        {"count past the end", counted(scene_text.size() + 1) + scene_text, damaged},
        {"count short of the scene", counted(scene_text.size() - 1) + scene_text, damaged},
        {"count into a multi-byte character",
         counted(scene_text.size() + 8) + scene_text + "screen \xC3\xA9 " + std::to_string(scene_text.size()) + "\n" +
             scene_text,
         damaged},
        {"count of zero", counted(0), damaged},
        {"screen line without count", head + "screen A\n", damaged},
        {"screen line of four fields", head + "screen A B 5\n", damaged},
        {"screen line without line feed", head + "screen A 5", damaged},
        {"other keyword", head + "monitor A 5\n", damaged},
        {"name that is not UTF-8", head + entry_text("A\xFF", scene), damaged},
        {"the same name twice", head + body + body, damaged},
        {"65 entries", crowded, damaged},
        {"a scene needing a newer version", head + entry_text("A", scene_with_every_kind()), damaged},
        {"trailing bytes after the last scene", good + "x", damaged},
        {"more than the size cap", std::string(kMaxBoardFileBytes + 1, '\n'), damaged},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto read = read_board_file(row.text);
        ASSERT_FALSE(read.ok());
        EXPECT_EQ(read.failure(), row.expected);
    }
}

TEST(BoardFileReader, RenumbersAScreenWhoseIdsWouldRunOut) {
    Scene exhausted = note_scene(7);
    exhausted.last = std::numeric_limits<ObjectId>::max();
    const auto board = read_board_file("glimmerly-board 1\n" + entry_text("A", exhausted) +
                                       entry_text("B", note_scene(7)));
    ASSERT_TRUE(board.ok());
    EXPECT_EQ(board->entries[0].scene, note_scene(1));
    EXPECT_EQ(board->entries[1].scene, note_scene(7));
}

}  // namespace
}  // namespace glimmerly
