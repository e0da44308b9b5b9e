#include "core/board/board_file.h"

#include <algorithm>
#include <charconv>
#include <new>
#include <unordered_set>

#include "core/base/utf.h"
#include "core/base/stored_values.h"
#include "core/document/scene_text.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

constexpr std::string_view kBoardHeader = "glimmerly-board";
constexpr std::string_view kScreenKeyword = "screen";

Failure damaged() { return board_file_error(BoardFileError::Damaged); }

// "screen <name> <count>": exactly three fields at single spaces.
bool split_screen_line(std::string_view line, std::string_view& name, std::string_view& count) {
    const std::size_t first = line.find(' ');
    if (first == std::string_view::npos || line.substr(0, first) != kScreenKeyword) return false;
    const std::size_t second = line.find(' ', first + 1);
    if (second == std::string_view::npos || line.find(' ', second + 1) != std::string_view::npos) return false;
    name = line.substr(first + 1, second - first - 1);
    count = line.substr(second + 1);
    return true;
}

bool is_continuation_byte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

Failure board_file_error(BoardFileError error) {
    return make_app_error(error == BoardFileError::Newer ? TextId::board_newer : TextId::board_damaged);
}

bool is_storable_screen_name(std::string_view name) {
    if (name.empty() || name.size() > kMaxScreenNameBytes) return false;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 33 || byte == 127) return false;
    }
    return is_valid_utf8(name);
}

namespace {

Result<std::string> write_board(const BoardFile& board) {
    if (board.entries.size() > kMaxBoardEntries)
        return invalid_input("The board has notes for " + std::to_string(board.entries.size()) +
                             " screens; at most 64 can be saved");
    std::uint32_t version = kOldestSceneFormat;
    std::unordered_set<std::string_view> names;
    for (const BoardEntry& entry : board.entries) {
        if (!is_storable_screen_name(entry.name))
            return invalid_input("The board cannot store the screen name \"" + entry.name + "\"");
        if (!names.insert(entry.name).second)
            return invalid_input("The board holds the screen \"" + entry.name + "\" twice");
        if (auto storable = check_scene_storable(entry.scene); !storable)
            return invalid_input("The board's notes of screen \"" + entry.name +
                                 "\" cannot be saved: " + storable.failure().message);
        version = std::max(version, scene_format_version(entry.scene));
    }

    std::string out(kBoardHeader);
    out.push_back(' ');
    append_decimal(out, version);
    out.push_back('\n');
    for (const BoardEntry& entry : board.entries) {
        const std::string text = write_scene_text(entry.scene);
        out.append(kScreenKeyword);
        out.push_back(' ');
        out.append(entry.name);
        out.push_back(' ');
        append_decimal(out, text.size());
        out.push_back('\n');
        out.append(text);
        if (out.size() > kMaxBoardFileBytes) return invalid_input("The board file would be larger than 256 MiB");
    }
    return out;
}

Result<BoardFile> read_board(std::string_view text) {
    if (text.size() > kMaxBoardFileBytes) return damaged();
    const std::size_t header_end = text.find('\n');
    if (header_end == std::string_view::npos) return damaged();
    const std::string_view header = text.substr(0, header_end);
    if (header.size() < kBoardHeader.size() || header.substr(0, kBoardHeader.size()) != kBoardHeader)
        return damaged();
    const std::string_view rest = header.substr(kBoardHeader.size());
    if (rest.empty() || rest[0] != ' ') return damaged();
    const auto version = parse_decimal(rest.substr(1));
    if (!version || *version < kOldestSceneFormat) return damaged();
    if (*version > kNewestSceneFormat) return board_file_error(BoardFileError::Newer);

    BoardFile board;
    std::unordered_set<std::string_view> names;
    std::size_t pos = header_end + 1;
    while (pos < text.size()) {
        const std::size_t line_end = text.find('\n', pos);
        if (line_end == std::string_view::npos) return damaged();
        std::string_view name, count_field;
        if (!split_screen_line(text.substr(pos, line_end - pos), name, count_field)) return damaged();
        if (!is_storable_screen_name(name) || board.entries.size() >= kMaxBoardEntries) return damaged();
        const auto count = parse_decimal_u64(count_field);
        pos = line_end + 1;
        const std::size_t remaining = text.size() - pos;
        if (!count || *count > remaining) return damaged();
        const auto n = static_cast<std::size_t>(*count);
        if (n < remaining && is_continuation_byte(text[pos + n])) return damaged();
        auto scene = read_scene_text(text.substr(pos, n), *version);
        if (!scene && scene.failure().code == E_OUTOFMEMORY_CODE) return std::move(scene).failure();
        if (!scene || !names.insert(name).second) return damaged();
        renumber_exhausted_ids(*scene);
        board.entries.push_back(BoardEntry{std::string(name), std::move(*scene)});
        pos += n;
    }
    return board;
}

}  // namespace

Result<std::string> write_board_file(const BoardFile& board) {
    try {
        return write_board(board);
    } catch (const std::bad_alloc&) {
        return out_of_memory("Writing the board file");
    }
}

Result<BoardFile> read_board_file(std::string_view text) {
    try {
        return read_board(text);
    } catch (const std::bad_alloc&) {
        return out_of_memory("Reading the board file");
    }
}

}  // namespace glimmerly
