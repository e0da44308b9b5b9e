#pragma once
// The fingerprint of a bake, kept in "baked.txt": everything the baked
// pictures were made from (the page text, the base as written, the monitors
// with their rectangles). A bake command that computes the same fingerprint
// while the desktop still shows the baked pictures has nothing to do.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/board/board_base.h"
#include "core/board/board_page.h"

namespace glimmerly {

// SipHash-1-3 with the given keys (one compression round a block, three
// finalisation rounds, the message length in the last block).
std::uint64_t siphash_1_3(std::string_view bytes, std::uint64_t k0 = 0, std::uint64_t k1 = 0);

// The page text, 0xFF, format_board_base, 0xFF, and per monitor its id, 0xFF
// and its four edges as little-endian f64 bit patterns, hashed with
// SipHash-1-3 keyed with zeros: 16 lower-case hex digits.
std::string bake_fingerprint(std::string_view page_text, const BoardBase& base, std::span<const BoardScreen> monitors);

}  // namespace glimmerly
