#pragma once
// The presentation's two built-in clicks, soft and hard, each at three
// loudness levels, made as complete WAVE files in memory once per process.

#include <array>
#include <cstdint>
#include <vector>

namespace glimmerly {

inline constexpr std::uint32_t kClickSampleRate = 44'100;
inline constexpr std::uint32_t kSoftClickSamples = 1764;  // 40 ms
inline constexpr std::uint32_t kHardClickSamples = 2205;  // 50 ms
inline constexpr std::size_t kClickSoundCount = 6;

// Level 0 low, 1 medium, anything else high.
float click_gain(std::uint32_t level);
// 3 x sound + level: sound 0 the soft click (style 1), sound 1 the hard
// click (every other style but 0, which plays nothing).
std::size_t click_sound_index(std::uint32_t style, std::uint32_t level);

// The six images, made on this call.
std::array<std::vector<std::uint8_t>, kClickSoundCount> make_click_sounds();
// The same, made on the first call from any thread and never changed or
// freed afterwards.
const std::array<std::vector<std::uint8_t>, kClickSoundCount>& click_sounds();

}  // namespace glimmerly
