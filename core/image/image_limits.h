#pragma once
// Size limits of pictures that cross into the platform's imaging calls,
// which take strides and buffer lengths as 32-bit numbers.

#include <cstdint>
#include <optional>

namespace glimmerly {

// The byte count of a width x height picture when such a picture would be
// valid (see is_valid_bgra_image) and both its stride and its byte count fit
// in 32 bits; none otherwise. Decoders ask this of a file's claimed size
// before they allocate anything, so that a hostile header can neither ask for
// more than 4 GiB nor wrap a length.
std::optional<std::uint32_t> imaging_buffer_size(std::uint32_t width, std::uint32_t height);

// The scaler's output: both sides above 0 and at most 2^27 pixels (512 MiB).
inline constexpr std::uint64_t MAX_SCALED_PIXELS = 134'217'728;
bool is_supported_scaled_size(std::uint32_t width, std::uint32_t height);

}  // namespace glimmerly
