// Any bytes as scene text: the first byte picks the container version.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/document/scene_text.h"
#include "tests/core/support/reference_scene_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace glimmerly;
    if (size == 0) return 0;
    const std::uint32_t version = data[0] % 10;  // 8 and 9 beyond the newest too
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto scene = read_scene_text(text, version);
    if (!scene) return 0;
    // A scene the reader gave out must be storable, need no newer version
    // than it came in, and read back as itself from what the writer makes of
    // it; otherwise the next save would lose or refuse the user's notes.
    const std::uint32_t needed = scene_format_version(*scene);
    if (!check_scene_storable(*scene) || needed > version) std::abort();
    const std::string written = write_scene_text(*scene);
    const auto again = read_scene_text(written, needed);
    if (!again || !(*again == *scene)) std::abort();
    // The fast writer owes the bytes of the plain one, so that a document
    // saved again is the same file.
    if (written != testing::reference_scene_text(*scene)) std::abort();
    return 0;
}
