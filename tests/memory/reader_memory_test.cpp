// Hostile files: each reader refuses them needing no more than the size of
// its input. Each row is a file that once took many times its size: every
// token of a long object line stored before any was checked, every chunk of
// a PNG listed before the document chunk was looked for.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/board/bake_fingerprint.h"
#include "core/board/board_file.h"
#include "core/document/scene_text.h"
#include "core/vexil/document.h"
#include "core/vexil/png.h"
#include "tests/memory/allocation_meter.h"

namespace glimmerly {
namespace {

constexpr std::size_t kInputBytes = 1 << 20;

std::string many_tokens_line() {
    std::string line = "object";
    while (line.size() < kInputBytes) line += " a=1";
    return line + "\n";
}

TEST(ReaderMemory, HostileInputIsRefusedWithinItsOwnSize) {
    const std::string head = "frame 640 480\norigin 0 0\nregion 0 0 640 480\nlast 9\n";
    const std::string scene_text = head + many_tokens_line();
    const std::string board = "glimmerly-board 1\nscreen A " + std::to_string(scene_text.size()) + "\n" + scene_text;
    std::vector<std::uint8_t> empty_chunks(kPngSignature.begin(), kPngSignature.end());
    while (empty_chunks.size() < kInputBytes) append_png_chunk(empty_chunks, "abCD", {});
    append_png_chunk(empty_chunks, "IEND", {});

    struct Row {
        const char* name;
        std::size_t input_bytes;
        std::function<bool()> read;  // true when the input was refused
    };
    const Row rows[] = {
        {"scene text line of short tokens", scene_text.size(), [&] { return !read_scene_text(scene_text, 8); }},
        {"board screen of such a line", board.size(), [&] { return !read_board_file(board); }},
        {"PNG of empty chunks", empty_chunks.size(), [&] { return !read_vexil_document(empty_chunks); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        bool refused = false;
        const std::size_t peak = testing::peak_heap_bytes([&] { refused = row.read(); });
        EXPECT_TRUE(refused);
        EXPECT_LT(peak, row.input_bytes);
    }
}

// The bake's fingerprint hashes the page where it lies: a page of up to
// 256 MiB is held once, by whoever read it.
TEST(ReaderMemory, TheBakeFingerprintHoldsNoCopyOfThePage) {
    const std::string page = "glimmerly-board 1\nscreen A " + std::string(kInputBytes, 'x');
    BoardBase base;
    base.screens = {{"A", u"C:\\a.jpg", std::nullopt}};
    const std::vector<BoardScreen> monitors = {{"A", {0, 0, 1920, 1080}}};
    std::string fingerprint;
    const std::size_t peak = testing::peak_heap_bytes([&] { fingerprint = bake_fingerprint(page, base, monitors); });
    EXPECT_EQ(fingerprint.size(), 16u);
    EXPECT_LT(peak, page.size() / 16);
}

}  // namespace
}  // namespace glimmerly
