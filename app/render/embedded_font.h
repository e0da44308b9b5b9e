#pragma once
// The annotation font's bytes, read in place from the executable's resources.

#include <cstdint>
#include <span>

#include "core/base/result.h"

namespace glimmerly {

// The TrueType file of "Roboto Medium". The bytes belong to the loaded
// executable and stay valid for the life of the process.
Result<std::span<const std::uint8_t>> embedded_font_bytes();

}  // namespace glimmerly
