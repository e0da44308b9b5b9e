#pragma once
#include <cstdint>

namespace glimmerly {

// Makes `choice` the current interface language: a language index directly,
// or for 255 (automatic) the first of the user's preferred UI languages.
void apply_ui_language(std::uint8_t choice);

}  // namespace glimmerly
