// Any bytes as a board file, then through a join and a merge with the
// screens the file names.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "core/board/board_file.h"
#include "core/board/board_page.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace glimmerly;
    const auto board = read_board_file(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!board) return 0;
    // What the reader accepts the writer must write back as the same board.
    const auto text = write_board_file(*board);
    if (!text) std::abort();
    const auto again = read_board_file(*text);
    if (!again || !(*again == *board)) std::abort();

    // A page joined from the board and cut back into it either saves in a form
    // the reader takes, or its save is refused; never an unreadable file.
    std::vector<BoardScreen> screens;
    for (const BoardEntry& entry : board->entries) {
        const double left = entry.scene.origin.x, top = entry.scene.origin.y;
        screens.push_back({entry.name, {left, top, left + entry.scene.frame.width, top + entry.scene.frame.height}});
    }
    BoardFile merged = *board;
    merge_screen_objects(merged, join_screen_scenes(*board, screens), screens);
    if (const auto saved = write_board_file(merged); saved && !read_board_file(*saved)) std::abort();
    return 0;
}
