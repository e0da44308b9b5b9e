#pragma once
// Parts of the interface that change far less often than the frames around
// them (the editor's toolbar) are drawn once into a bitmap and the bitmap is
// drawn in later frames. Under Wine a toolbar's worth of stroked icons and
// rounded rectangles costs several times what one bitmap does.

#include <functional>
#include <optional>
#include <vector>

#include "app/render/painting_kit.h"

namespace glimmerly {

// Draws what `paint` draws inside `area` (target pixels). The bitmap kept in
// `slot` is reused while its key and area equal these; otherwise `paint`
// draws into a new one. A target without a device context, or one under a
// transform, gets `paint` directly; so does an empty area.
Status draw_kept_picture(Painter& painter, Guarded<std::optional<KeptPicture>>& slot, std::vector<double> key,
                         const Box& area, const std::function<Status(Painter&)>& paint);

}  // namespace glimmerly
