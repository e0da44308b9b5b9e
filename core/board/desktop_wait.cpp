#include "core/board/desktop_wait.h"

#include <algorithm>

#include "core/board/board_desktop.h"

namespace glimmerly {
namespace {

constexpr std::uint32_t kBands = 32;
constexpr std::uint64_t kMostPoints = 1024;
constexpr double kShownShare = 0.95;

}  // namespace

std::vector<std::uint32_t> band_sample_positions(std::uint32_t length) {
    std::vector<std::uint32_t> positions;
    for (std::uint64_t k = 0; k < kBands; ++k) {
        const auto at = static_cast<std::uint32_t>(std::uint64_t{length} * (2 * k + 1) / (2 * kBands));
        if (positions.empty() || positions.back() != at) positions.push_back(at);
    }
    return positions;
}

std::vector<SamplePoint> changed_sample_points(const BgraImage& reference, const BgraImage& picture) {
    std::vector<SamplePoint> points;
    if (reference.width != picture.width || reference.height != picture.height) {
        const auto xs = band_sample_positions(picture.width);
        for (const std::uint32_t y : band_sample_positions(picture.height))
            for (const std::uint32_t x : xs) points.emplace_back(x, y);
        return points;
    }
    const std::size_t n = std::min(reference.pixels.size(), picture.pixels.size()) / 4;
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < n; ++i)
        if (!board_pixels_match(&reference.pixels[i * 4], &picture.pixels[i * 4])) changed.push_back(i);
    if (changed.empty() || reference.width == 0) return points;
    const std::size_t step = std::max<std::size_t>(1, (changed.size() + kMostPoints - 1) / kMostPoints);
    for (std::size_t k = 0; k < changed.size() && points.size() < kMostPoints; k += step)
        points.emplace_back(static_cast<std::uint32_t>(changed[k] % reference.width),
                            static_cast<std::uint32_t>(changed[k] / reference.width));
    return points;
}

bool shows_picture(const BgraImage& shown, const BgraImage& picture, const std::vector<SamplePoint>& points) {
    if (shown.width != picture.width || shown.height != picture.height) return false;
    std::size_t matched = 0;
    for (const auto& [x, y] : points) {
        const std::size_t at = (std::size_t{y} * picture.width + x) * 4;
        if (at + 4 > shown.pixels.size() || at + 4 > picture.pixels.size()) continue;
        if (board_pixels_match(&shown.pixels[at], &picture.pixels[at])) ++matched;
    }
    return double(matched) / double(points.empty() ? 1 : points.size()) >= kShownShare;
}

}  // namespace glimmerly
