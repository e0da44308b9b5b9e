#pragma once
// The canonical 44-byte RIFF/WAVE header of 16-bit mono PCM, for the sounds
// the program makes itself and hands to the system's player as a whole file.

#include <cstdint>
#include <vector>

namespace glimmerly {

inline constexpr std::size_t kWavHeaderBytes = 44;

// Appends the header of `samples` samples at `rate` per second; the samples
// follow it as little-endian 16-bit values (append_wav_sample).
void append_wav_header(std::vector<std::uint8_t>& out, std::uint32_t samples, std::uint32_t rate);
void append_wav_sample(std::vector<std::uint8_t>& out, std::int16_t sample);

}  // namespace glimmerly
