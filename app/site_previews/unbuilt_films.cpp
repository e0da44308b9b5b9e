#include "app/site_previews/unbuilt_films.h"

#include "app/app/unbuilt.h"

namespace glimmerly {

Result<SitePresentationLayers> site_presentation_sample(std::uint32_t, std::uint32_t) {
    return not_available("The presentation sample");
}

}  // namespace glimmerly
