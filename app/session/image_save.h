#pragma once
// Pictures to disk, atomically: the encoded file goes to a sibling temporary
// file named with the process id and is moved into place with write-through,
// so that no reader ever sees half a picture and a failed save leaves
// nothing behind.

#include <string>

#include "core/base/result.h"
#include "core/image/bgra_image.h"
#include "core/paths/path_names.h"

namespace glimmerly {

// Writes the picture over `path`, replacing what is there (a name the user
// chose: the Save dialog has asked). Failures keep the platform's code; the
// target is then as it was.
Status save_image_atomically(const BgraImage& picture, const std::wstring& path, ImageFormat format);

// Writes the picture under a default numbered name and never replaces a
// file: when the name is taken by the time the file moves into place (another
// save, another program), it takes the next free number of the folder, with
// the path's extension. Returns the path written.
Result<std::wstring> save_image_without_replacing(const BgraImage& picture, const std::wstring& path,
                                                  ImageFormat format);

}  // namespace glimmerly
