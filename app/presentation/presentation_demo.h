#pragma once
// The presentation film of the site previews: presentation mode at work over
// a picture of a desktop that shows a bar chart, without the desktop. The
// mode's own shape, halo and keys-display drawing fills three hidden layers,
// which are composited over the picture for every frame. The script and its
// clock are the film's (core/site_previews/presentation_film.h).

#include <string>

#include "core/base/result.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

// Writes 177 frames and "pointer.txt" into the folder, which is created with
// its parents. The picture's April bar must stand centred on column 447 of
// row 250; the first failure ends the film, the frames written so far stay.
Status render_presentation_demo(const BgraImage& desktop, const std::wstring& frames_folder);

}  // namespace glimmerly
