#include "app/site_previews/unbuilt_films.h"

#include "app/app/unbuilt.h"

namespace glimmerly {

Status film_support_heart(const std::wstring&) { return not_available("The support-heart film"); }

Status render_presentation_demo(const BgraImage&, const std::wstring&) {
    return not_available("The presentation film");
}

Result<BgraImage> read_desktop_board_picture(const std::wstring&, std::wstring_view) {
    return not_available("The board film");
}

BgraImage premultiply_alpha(BgraImage picture) { return picture; }

Status film_board(const BoardFilmPictures&, const std::wstring&) { return not_available("The board film"); }

Result<SitePresentationLayers> site_presentation_sample(std::uint32_t, std::uint32_t) {
    return not_available("The presentation sample");
}

}  // namespace glimmerly
