#pragma once
// What an editable document keeps of a capture: the frame area around the
// selection with the blur baked in, and the objects that can show there in
// that area's coordinates. The document format stores it; it knows nothing
// of the editor.

#include "core/base/result.h"
#include "core/document/scene.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

struct EditorState;

struct CaptureDocument {
    Scene scene;      // frame, origin, region and objects in the kept area, ids 1..n
    BgraImage frame;  // the kept area of the frame, blur objects baked in
};

// The kept area is the selection rounded outward, grown by every monitor it
// touches so that the document keeps whole screens of context (the whole
// frame when no monitors are known), in whole pixels within the frame. That
// one top-left moves the pixels, the objects, the region and the origin
// (`frame_origin` is the frame's top-left on the virtual screen) alike, so
// annotations stay where they were drawn. Lines fastened to objects left out
// come loose where they are drawn.
//
// Refused as "error.not_editable_capture", with the cause as its "detail",
// without a selection, for a frame that is not the editor's, or when nothing
// of the selection lies in the frame; E_OUTOFMEMORY when the pixels cannot be
// had. The scene is not checked for storing: the writer does that.
Result<CaptureDocument> compose_capture_document(const EditorState& editor, const BgraImage& frame,
                                                 ScreenOrigin frame_origin);

}  // namespace glimmerly
