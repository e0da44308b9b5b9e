#include "core/presentation/mirror_geometry.h"

#include <algorithm>
#include <cmath>

namespace glimmerly {
namespace {

std::int32_t clamp_edge(double value, std::int32_t limit) {
    if (std::isnan(value)) return 0;
    return static_cast<std::int32_t>(std::clamp(value, 0.0, double(std::max(limit, 0))));
}

}  // namespace

PixelRect mirror_region(const std::optional<Box>& dirty, const std::optional<Box>& previous, std::int32_t width,
                        std::int32_t height) {
    if (!dirty && !previous) return {};
    Box region = dirty ? *dirty : *previous;
    if (dirty && previous) {
        // fmin and fmax answer the number when one side is NaN.
        region = {std::fmin(dirty->left, previous->left), std::fmin(dirty->top, previous->top),
                  std::fmax(dirty->right, previous->right), std::fmax(dirty->bottom, previous->bottom)};
    }
    return {clamp_edge(std::floor(region.left), width), clamp_edge(std::floor(region.top), height),
            clamp_edge(std::ceil(region.right), width), clamp_edge(std::ceil(region.bottom), height)};
}

MirrorUploadPlan plan_mirror_upload(std::size_t byte_length, const PixelRect& region, std::int32_t width,
                                    std::int32_t height, bool surface_fits) {
    MirrorUploadPlan plan;
    const bool sized = width > 0 && height > 0 &&
                       std::uint64_t(byte_length) == std::uint64_t(width) * std::uint64_t(height) * 4;
    if (!sized || region.left < 0 || region.top < 0 || region.right > width || region.bottom > height) {
        plan.refused = true;
        return plan;
    }
    plan.new_surface = !surface_fits;
    // A new surface holds nothing yet: the whole picture goes up.
    plan.region = plan.new_surface ? PixelRect{0, 0, width, height} : region;
    if (plan.region.right <= plan.region.left || plan.region.bottom <= plan.region.top) plan.region = {};
    return plan;
}

MirrorCopyBox mirror_copy_box(const PixelRect& region, std::int32_t offset_x, std::int32_t offset_y,
                              std::int32_t width) {
    MirrorCopyBox box;
    box.left = std::uint32_t(offset_x);
    box.top = std::uint32_t(offset_y);
    box.right = std::uint32_t(offset_x + region.width());
    box.bottom = std::uint32_t(offset_y + region.height());
    box.row_pitch = std::uint32_t(width) * 4;
    box.source_offset = (std::size_t(region.top) * std::size_t(width) + std::size_t(region.left)) * 4;
    return box;
}

}  // namespace glimmerly
