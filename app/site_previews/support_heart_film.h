#pragma once
// The support-heart film of the site previews: on a small dark canvas the
// real editor draws a heart with the pen, enlarges it by its corner handle,
// draws a line up to its outline and an arrow out of it along one axis, and
// writes "Thank you." centred under it, every step through the editor's own
// pointer handlers, toolbar and text field, with the editor's cursor drawn
// into the frames.

#include <string>

#include "core/base/result.h"

namespace glimmerly {

// 407 frames and "pointer.txt" into the folder, created with its parents.
// The film checks its geometry on the way and stops with an English message
// when the editor did not do what the script expects; the frames written
// so far stay, "pointer.txt" is written only at the end.
Status film_support_heart(const std::wstring& frames_folder);

}  // namespace glimmerly
