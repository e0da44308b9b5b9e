#include "ui/document/vexil_writer.h"

#include "app/image/png_encoder.h"
#include "core/vexil/document.h"

namespace glimmerly {

Result<std::vector<std::uint8_t>> encode_vexil_document(const EditorState& editor, const BgraImage& frame,
                                                        ScreenOrigin frame_origin, const BgraImage& picture) {
    return write_vexil_document(editor, frame, frame_origin, picture, encode_png);
}

}  // namespace glimmerly
