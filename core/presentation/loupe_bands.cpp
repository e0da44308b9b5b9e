#include "core/presentation/loupe_bands.h"

#include "core/presentation/loupe_geometry.h"

namespace glimmerly {

std::array<LoupeClip, 5> loupe_band_clips(std::int32_t diameter) {
    const double r = diameter * 0.5;
    const auto stops = falloff_stops(r, 4.0);
    std::array<LoupeClip, 5> clips;
    for (std::size_t b = 0; b < clips.size(); ++b) {
        const double offset = stops[b].offset;
        clips[b] = {float(r - offset), float(r - offset), float(r + offset), float(r + offset), float(offset)};
    }
    return clips;
}

FrameCopySize frame_copy_size(std::int32_t content_width, std::int32_t content_height, std::uint32_t source_width,
                              std::uint32_t source_height, std::int32_t surface_width, std::int32_t surface_height) {
    const auto smallest = [](std::int32_t content, std::uint32_t source, std::int32_t surface) {
        const std::int64_t side = std::min({std::int64_t(content), std::int64_t(source), std::int64_t(surface)});
        return std::int32_t(std::max<std::int64_t>(side, 0));
    };
    return {smallest(content_width, source_width, surface_width),
            smallest(content_height, source_height, surface_height)};
}

}  // namespace glimmerly
