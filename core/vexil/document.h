#pragma once
// The editable document (".vexil"): an ordinary PNG of the finished picture
// that any viewer shows, carrying one private chunk "vxIL" before its end
// chunk with a header line, the scene text and a PNG of the clean captured
// frame around the selection. This program opens it again for editing.
//
// What goes into a document (the scene and its frame) is composed by the
// editor; the PNG coding is the platform's and is passed in, so that the
// container logic here depends on neither.

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "core/base/result.h"
#include "core/document/scene.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

// For writing and for reading.
inline constexpr std::uint64_t kMaxDocumentBytes = 0x10000000;
inline constexpr char kDocumentChunkType[] = "vxIL";

// Decodes a PNG that must be exactly `expected` in size: one whose header
// says otherwise is refused before any pixels are allocated.
using PngDecoder = std::function<Result<BgraImage>(std::span<const std::uint8_t> png, FrameSize expected)>;

// The caller's judgement of a scene before its frame's pixels are decoded
// (the editor refuses a frame no screen can show): a refusal comes back as
// it is.
using FrameCheck = std::function<Status(const Scene& scene)>;

// The document's bytes: `picture_png` with the chunk put before its end
// chunk, holding the scene and `frame_png`, the PNG of the scene's frame.
// Whatever the reader would refuse is refused here instead, as
// "error.not_editable_capture" with the cause as its "detail": the user
// would keep a file that can never be edited again. Nothing is written to
// disk here.
Result<std::vector<std::uint8_t>> write_vexil_document(const Scene& scene, std::span<const std::uint8_t> picture_png,
                                                       std::span<const std::uint8_t> frame_png);

// What the document holds; `frame_png` points into the bytes that were read.
struct EditableDocument {
    Scene scene;
    std::span<const std::uint8_t> frame_png;
};

// The scene and frame PNG of a document, or document_read_error: not
// editable (a PNG without the chunk, or not a PNG), newer, or damaged; or
// E_OUTOFMEMORY. The frame PNG is not decoded here: open_vexil_document does
// that. A scene whose id counter is close to running out comes back
// renumbered.
Result<EditableDocument> read_vexil_document(std::span<const std::uint8_t> bytes);

struct OpenedDocument {
    Scene scene;
    BgraImage frame;
};

// A document ready for editing: as read_vexil_document, and a frame PNG that
// does not decode, or whose size is not the scene's frame, is damaged too.
// The size is checked in the PNG's header before the decoder is asked, and
// the decoder is given the size it must find, so that a small file cannot
// ask for a frame of gigabytes. Memory the decoder cannot have comes back as
// its E_OUTOFMEMORY. `accept_frame`, when given, is asked after those checks
// and before the decoder, so that a frame the caller would refuse anyway
// costs no decoding.
Result<OpenedDocument> open_vexil_document(std::span<const std::uint8_t> bytes, const PngDecoder& decode_png,
                                           const FrameCheck& accept_frame = {});

}  // namespace glimmerly
