#pragma once
// Stand-in for the part of the site previews that is not built yet: the
// presentation sample the presentation picture is drawn from. It answers
// that it is not available, which ends the mode there with the outputs
// before it written. It goes, with its declaration here, when its part
// arrives.

#include <cstdint>
#include <string>
#include <string_view>

#include "app/presentation/layer.h"
#include "core/base/result.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

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
