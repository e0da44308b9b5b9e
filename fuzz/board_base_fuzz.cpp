// Any bytes as "base.txt": the reader either refuses them or gives a record
// that the writer writes back to bytes the reader reads as the same record.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/board/bake_fingerprint.h"
#include "core/board/board_base.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace glimmerly;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto base = parse_board_base(text);
    if (!base) return 0;
    const std::string written = format_board_base(*base);
    const auto again = parse_board_base(written);
    if (!again || !(*again == *base) || format_board_base(*again) != written) std::abort();
    for (const BoardBaseScreen& screen : base->screens)
        if (!is_valid_screen_id(screen.screen)) std::abort();
    (void)bake_fingerprint(text, *base, {});
    return 0;
}
