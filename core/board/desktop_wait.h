#pragma once
// Whether the desktop already shows a new baked picture, judged from a
// sample of its pixels: comparing whole pictures at every check of the
// wait after a bake would cost more than the wait itself. The points lie
// where the new picture differs from what the monitor showed before, so
// that the old picture never passes for the new one.

#include <cstdint>
#include <utility>
#include <vector>

#include "core/image/bgra_image.h"

namespace glimmerly {

using SamplePoint = std::pair<std::uint32_t, std::uint32_t>;  // x, y

// The 32 positions floor(length x (2k + 1) / 64), k = 0..31, with repeats
// next to each other left out: the centres of 32 equal bands.
std::vector<std::uint32_t> band_sample_positions(std::uint32_t length);

// Where `picture` differs from `reference` (blue, green or red by more
// than 2), at most 1024 of those pixels taken evenly (every
// max(1, ceil(n / 1024))-th); none when nothing differs. Pictures of
// different sizes give a 32 x 32 grid of band positions over `picture`.
std::vector<SamplePoint> changed_sample_points(const BgraImage& reference, const BgraImage& picture);

// Whether `shown` shows `picture` at the points: the same size, and at
// least 95 % of the points match.
bool shows_picture(const BgraImage& shown, const BgraImage& picture, const std::vector<SamplePoint>& points);

}  // namespace glimmerly
