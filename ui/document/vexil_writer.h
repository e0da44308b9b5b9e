#pragma once
// Saving a capture as an editable document, with its pictures encoded by the
// Windows Imaging Component.

#include <cstdint>
#include <vector>

#include "core/base/result.h"
#include "core/document/scene.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

struct EditorState;

// The bytes of the document file (write_vexil_document). The calling thread
// must have a COM apartment; the caller writes the bytes to disk.
Result<std::vector<std::uint8_t>> encode_vexil_document(const EditorState& editor, const BgraImage& frame,
                                                        ScreenOrigin frame_origin, const BgraImage& picture);

}  // namespace glimmerly
