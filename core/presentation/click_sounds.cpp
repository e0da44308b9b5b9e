#include "core/presentation/click_sounds.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <numbers>

#include "core/base/wav_file.h"

namespace glimmerly {
namespace {

constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;

// A falling tone that dies away.
float soft_click(float t, float u) {
    const float fade = (1.0f - u) * (1.0f - u) * (1.0f - u);
    return std::sin(kTwoPi * 1250.0f * (1.0f - 0.25f * u) * t) * fade;
}

// A tick of noise over a short two-tone ring; the noise sequence is fixed,
// so every run makes the same bytes.
float hard_click(std::uint32_t& noise, float t, float u) {
    noise ^= noise << 13;
    noise ^= noise >> 17;
    noise ^= noise << 5;
    const float r = static_cast<float>(static_cast<double>(noise) / 4294967296.0);
    const float burst = (2.0f * r - 1.0f) * 0.45f * std::exp(-t / 0.0025f);
    const float ring = (0.7f * std::sin(kTwoPi * 2200.0f * t) + 0.3f * std::sin(kTwoPi * 3400.0f * t)) *
                       std::exp(-t / 0.015f) * 0.9f;
    return (1.0f - u) * (burst + ring);
}

std::vector<std::uint8_t> make_click(bool hard, float gain) {
    const std::uint32_t count = hard ? kHardClickSamples : kSoftClickSamples;
    std::vector<std::uint8_t> wav;
    wav.reserve(kWavHeaderBytes + 2 * count);
    append_wav_header(wav, count, kClickSampleRate);
    std::uint32_t noise = 0x2545F491u;
    for (std::uint32_t i = 0; i < count; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(kClickSampleRate);
        const float u = static_cast<float>(i) / static_cast<float>(count);
        const float s = hard ? hard_click(noise, t, u) : soft_click(t, u);
        // The attack ramp keeps the first sample at 0: no crack at the start.
        const float attack = std::min(60.0f * u, 1.0f);
        const float v = std::clamp(attack * s * gain * 32767.0f, -32768.0f, 32767.0f);
        append_wav_sample(wav, static_cast<std::int16_t>(v));
    }
    return wav;
}

std::once_flag g_click_sounds_made;
std::array<std::vector<std::uint8_t>, kClickSoundCount> g_click_sounds;

}  // namespace

float click_gain(std::uint32_t level) {
    if (level == 0) return 0.25f;
    if (level == 1) return 0.5f;
    return 0.9f;
}

std::size_t click_sound_index(std::uint32_t style, std::uint32_t level) {
    return 3 * (style == 1 ? 0 : 1) + std::min<std::uint32_t>(level, 2);
}

std::array<std::vector<std::uint8_t>, kClickSoundCount> make_click_sounds() {
    std::array<std::vector<std::uint8_t>, kClickSoundCount> sounds;
    for (std::uint32_t level = 0; level < 3; ++level) {
        sounds[level] = make_click(false, click_gain(level));
        sounds[3 + level] = make_click(true, click_gain(level));
    }
    return sounds;
}

const std::array<std::vector<std::uint8_t>, kClickSoundCount>& click_sounds() {
    std::call_once(g_click_sounds_made, [] { g_click_sounds = make_click_sounds(); });
    return g_click_sounds;
}

}  // namespace glimmerly
