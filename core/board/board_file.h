#pragma once
// The board's page as stored: a header line "glimmerly-board" with the
// format version, then for every screen its name and its scene in scene
// text. Screens are keyed by name so that each screen's notes follow it when
// the screens are rearranged.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/result.h"
#include "core/document/scene.h"

namespace glimmerly {

inline constexpr std::size_t kMaxBoardEntries = 64;
inline constexpr std::size_t kMaxScreenNameBytes = 512;
// The reader refuses a larger file as damaged, and the writer never makes
// one, so the board can check the size on disk before it reads a byte.
inline constexpr std::uint64_t kMaxBoardFileBytes = 0x10000000;

struct BoardEntry {
    std::string name;  // UTF-8
    Scene scene;       // in the screen's own coordinates

    friend bool operator==(const BoardEntry&, const BoardEntry&) = default;
};

struct BoardFile {
    std::vector<BoardEntry> entries;

    friend bool operator==(const BoardFile&, const BoardFile&) = default;
};

enum class BoardFileError : std::uint8_t { Newer = 0, Damaged = 1 };

// The application error the board shows for a file it cannot read.
Failure board_file_error(BoardFileError error);

// 1..512 bytes of UTF-8 without control characters, spaces or DEL.
bool is_storable_screen_name(std::string_view name);

// The file's text, stamped with the highest version its scenes need. The save
// is refused, rather than written in a form the reader would refuse and so
// lose every note, when a name cannot be stored or repeats, when there are
// more than 64 entries, when a scene could not be read back, or when the file
// would pass kMaxBoardFileBytes.
Result<std::string> write_board_file(const BoardFile& board);

// The board in the file, or board_file_error(Newer or Damaged): nothing is
// returned of a file with any fault. Memory it cannot have is E_OUTOFMEMORY;
// it needs no more than a small multiple of the text's size. A scene whose id counter is close to
// running out comes back renumbered.
Result<BoardFile> read_board_file(std::string_view text);

}  // namespace glimmerly
