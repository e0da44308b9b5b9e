#pragma once
// Standard Base64 (RFC 4648: "A"-"Z", "a"-"z", "0"-"9", "+", "/", with "="
// padding and no line breaks), for pictures carried inside text.

#include <cstdint>
#include <span>
#include <string>

namespace glimmerly {

std::string base64_encode(std::span<const std::uint8_t> bytes);

}  // namespace glimmerly
