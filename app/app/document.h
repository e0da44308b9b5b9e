#pragma once
// Saving a capture as an editable document and opening one from disk, with
// the pictures coded by the Windows Imaging Component.

#include <cstdint>
#include <string>
#include <vector>

#include "core/base/result.h"
#include "core/document/scene.h"
#include "core/image/bgra_image.h"
#include "core/vexil/document.h"

namespace glimmerly {

struct EditorState;

// The bytes of the document of a capture: `picture` is shown, and the frame
// area around the selection (compose_capture_document) is kept with the
// objects that can show there (write_vexil_document). A PNG encoding error
// comes back as it is. The calling thread must have a COM apartment; the
// caller writes the bytes to disk.
Result<std::vector<std::uint8_t>> encode_vexil_document(const EditorState& editor, const BgraImage& frame,
                                                        ScreenOrigin frame_origin, const BgraImage& picture);

// The document's scene and its decoded frame. A file above the document
// size limit is damaged and is refused from its size alone, before a byte is
// read; every other fault is as open_vexil_document gives it, and a failure
// to read the file is the system's. The file is never changed. The calling
// thread must have a COM apartment. `accept_frame` judges the frame's size
// before a pixel of it is decoded (see open_vexil_document).
Result<OpenedDocument> load_vexil_document(const std::wstring& path, const FrameCheck& accept_frame = {});

}  // namespace glimmerly
