#pragma once
// "--render-site-previews <in> <out>": the site's preview pictures and films
// drawn by the real editor, painters and presentation layers from a few
// pictures of a desktop in <in>, written into <out> (which must exist):
// "capture.png", the eyedropper, editing, capture and support-heart films,
// "presentation.png", the presentation film and the board film, in that
// order. Each film checks that the editor did what its script expects; the
// first failure ends the mode, and what was written before it stays.

#include <string>

#include "core/base/result.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

Status render_site_previews(const std::wstring& in, const std::wstring& out);

// The presentation layers (shapes, halo, keys display) blended over the
// picture at its own size, saved at the path.
Status render_presentation_picture(const BgraImage& picture, const std::wstring& path);

}  // namespace glimmerly
