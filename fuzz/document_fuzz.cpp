// Any bytes as an editable document, opened with a plain PNG decoder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/vexil/document.h"
#include "core/vexil/scene_text.h"
#include "tests/core/support/png.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace glimmerly;
    const std::span<const std::uint8_t> bytes(data, size);
    const auto document = read_vexil_document(bytes);
    if (!document) return 0;
    // The frame PNG lies inside the file, and the scene can be saved again.
    if (document->frame_png.data() < data || document->frame_png.data() + document->frame_png.size() > data + size)
        std::abort();
    if (!check_scene_storable(document->scene)) std::abort();
    const auto opened = open_vexil_document(bytes, testing::decode_stored_png);
    if (opened && (opened->frame.width != opened->scene.frame.width ||
                   opened->frame.height != opened->scene.frame.height))
        std::abort();
    return 0;
}
