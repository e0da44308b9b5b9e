#pragma once
// The editable document (".vexil"): an ordinary PNG of the finished picture
// that any viewer shows, carrying one private chunk "vxIL" before its end
// chunk with a header line, the scene text and a PNG of the clean captured
// frame around the selection. This program opens it again for editing.
//
// The PNG coding itself is the platform's; it is passed in, so that the
// document logic here stays free of it.

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "core/base/result.h"
#include "core/document/scene.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

struct EditorState;

// For writing and for reading.
inline constexpr std::uint64_t kMaxDocumentBytes = 0x10000000;
inline constexpr char kDocumentChunkType[] = "vxIL";

using PngEncoder = std::function<Result<std::vector<std::uint8_t>>(const BgraImage&)>;
using PngDecoder = std::function<Result<BgraImage>(std::span<const std::uint8_t>)>;

// The document of a capture: `picture` is shown, `frame` (the captured frame,
// `frame_origin` its top-left on the virtual screen) is kept around the
// selection with the editor's blur applied, with the objects that can show
// there. A PNG encoding error comes back as it is; anything else that stops
// the save is "error.not_editable_capture". Nothing is written to disk here.
//
// The kept area is taken in whole pixels, and that one top-left moves the
// pixels, the objects, the region and the origin alike, so annotations stay
// where they were drawn on the stored frame.
Result<std::vector<std::uint8_t>> write_vexil_document(const EditorState& editor, const BgraImage& frame,
                                                       ScreenOrigin frame_origin, const BgraImage& picture,
                                                       const PngEncoder& encode_png);

// What the document holds; `frame_png` points into the bytes that were read.
struct EditableDocument {
    Scene scene;
    std::span<const std::uint8_t> frame_png;
};

// The scene and frame PNG of a document, or document_read_error: not
// editable (a PNG without the chunk, or not a PNG), newer, or damaged. The
// frame PNG is not decoded here: open_vexil_document does that. A scene whose
// id counter is close to running out comes back renumbered.
Result<EditableDocument> read_vexil_document(std::span<const std::uint8_t> bytes);

struct OpenedDocument {
    Scene scene;
    BgraImage frame;
};

// A document ready for editing: as read_vexil_document, and a frame PNG that
// does not decode, or whose size is not the scene's frame, is damaged too.
Result<OpenedDocument> open_vexil_document(std::span<const std::uint8_t> bytes, const PngDecoder& decode_png);

}  // namespace glimmerly
