#pragma once
// The capture film: a whole capture in the real editor over the desktop
// capture, from choosing the region to the finished note, the swung arrow
// recoloured by the eyedropper and thickened by the wheel, driven through
// the editor's own pointer, toolbar, wheel and text-field handlers on a
// hidden host window. After each critical step the editor's state is
// checked; a step that did not do what the script expects stops the film
// with a message naming it. 665 frames.

#include <string>

#include "core/base/result.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

Status film_capture(const BgraImage& capture, const std::wstring& frames_folder);

}  // namespace glimmerly
