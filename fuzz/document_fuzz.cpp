// Any bytes as an editable document, opened with a plain PNG decoder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/document/scene_text.h"
#include "core/vexil/document.h"
#include "core/vexil/png.h"
#include "tests/core/support/png.h"

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t max_size);

// A mutation inside a chunk breaks its CRC, and the reader stops at the
// checksum long before the scene text; so every chunk's CRC is mended after
// the mutation, and the fuzzer reaches what lies behind it.
extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t max_size,
                                               unsigned int /*seed*/) {
    using namespace glimmerly;
    size = LLVMFuzzerMutate(data, size, max_size);
    PngChunkWalker walk(std::span<const std::uint8_t>(data, size));
    while (const auto chunk = walk.next()) {
        const std::size_t at = chunk->offset + 4;  // the type, then the data
        const std::uint32_t crc = png_crc32(std::span<const std::uint8_t>(data + at, 4 + chunk->data.size()));
        std::uint8_t* out = data + at + 4 + chunk->data.size();
        for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    }
    return size;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace glimmerly;
    const std::span<const std::uint8_t> bytes(data, size);
    const auto document = read_vexil_document(bytes);
    if (!document) return 0;
    // The frame PNG lies inside the file, and the scene can be saved again.
    if (document->frame_png.data() < data || document->frame_png.data() + document->frame_png.size() > data + size)
        std::abort();
    if (!check_scene_storable(document->scene)) std::abort();
    const auto opened = open_vexil_document(bytes, testing::decode_stored_png_of);
    if (!opened) return 0;
    if (opened->frame.width != opened->scene.frame.width || opened->frame.height != opened->scene.frame.height)
        std::abort();
    // What opens is written back as the same scene and frame.
    const auto picture = testing::encode_stored_png(opened->frame);
    const auto again = picture ? write_vexil_document(opened->scene, *picture, document->frame_png) : picture;
    if (!again) std::abort();
    const auto reread = read_vexil_document(*again);
    if (!reread || !(reread->scene == opened->scene)) std::abort();
    return 0;
}
