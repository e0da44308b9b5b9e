#pragma once
// Stand-ins for the parts of the site previews that are not built yet: the
// support-heart, presentation and board films, and the presentation sample
// the presentation picture is drawn from. Each answers that it is not
// available, which ends the mode there with the outputs before it written.
// Each stand-in goes, with its declaration here, when its part arrives.

#include <cstdint>
#include <string>
#include <string_view>

#include "app/presentation/layer.h"
#include "core/base/result.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

Status film_support_heart(const std::wstring& frames_folder);

Status render_presentation_demo(const BgraImage& desktop, const std::wstring& frames_folder);

struct BoardFilmPictures {
    BgraImage wallpaper;
    BgraImage icons;  // premultiplied
    BgraImage screen;
};
// "desktop-board-" + name + ".png" in the input folder.
Result<BgraImage> read_desktop_board_picture(const std::wstring& in_folder, std::wstring_view name);
BgraImage premultiply_alpha(BgraImage picture);
Status film_board(const BoardFilmPictures& pictures, const std::wstring& frames_folder);

// The presentation sample at the picture's size with the site's three
// shapes: the shape layer (picture size), the halo layer (72 x 72) and the
// device layer (520 x 140).
struct SitePresentationLayers {
    LayerPointer shapes;
    LayerPointer halo;
    LayerPointer devices;
};
Result<SitePresentationLayers> site_presentation_sample(std::uint32_t width, std::uint32_t height);

}  // namespace glimmerly
